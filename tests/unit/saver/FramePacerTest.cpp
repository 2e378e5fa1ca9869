// The frame pacer: the rate from the monitors' reported rates, the exact grid, late frames, the compositor.
#include "saver/FramePacer.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelluna {
namespace {

TEST(FramePacer, RatesGivenBySystemToTheGridOfOneSecond) {
    const struct {
        std::vector<std::uint32_t> rates;  // one a monitor
        std::uint32_t rate;
        std::vector<std::uint32_t> firstDeadlines;  // frames drawn as they fall due, from 0 ms
    } rows[] = {
        {{0}, 60, {16, 33, 50}},  {{1}, 60, {16, 33, 50}},          {{30}, 30, {33, 66, 100}},
        {{59}, 59, {16, 33, 50}}, {{60}, 60, {16, 33, 50}},         {{144}, 144, {6, 13, 20}},
        {{500}, 240, {4, 8, 12}}, {{1, 60, 144}, 144, {6, 13, 20}}, {{}, 60, {16, 33, 50}},
    };
    for (const auto& row : rows) {
        FramePacer pacer;
        pacer.Start(0, FramePacer::RateFor(row.rates));
        EXPECT_EQ(pacer.Rate(), row.rate);
        std::vector<std::uint32_t> deadlines;
        std::uint32_t now = 0;
        for (std::uint32_t frame = 1; frame <= row.rate; ++frame) {
            ASSERT_EQ(pacer.MsUntilDue(now), 0u) << row.rate;
            pacer.FrameDrawn(now);
            now += pacer.MsUntilDue(now);
            if (frame <= 3) deadlines.push_back(now);
        }
        EXPECT_EQ(deadlines, row.firstDeadlines) << row.rate;
        // rate frames take one second exactly: the fractions of the period are kept, not rounded away.
        EXPECT_EQ(now, 1000u) << row.rate;
    }
}

TEST(FramePacer, ALateFrameSkipsToTheNextGridPointAndTheCounterMayWrap) {
    FramePacer pacer;
    pacer.Start(0xFFFFFFF0u, 60);
    pacer.FrameDrawn(0xFFFFFFF0u);
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u), 16u);
    pacer.FrameDrawn(0xFFFFFFF0u + 40);  // due at +16, drawn at +40: the point at +33 is left out
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u + 40), 10u);
    pacer.FrameDrawn(0xFFFFFFF0u + 50);
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u + 50), 16u);
}

TEST(FramePacer, TheCompositorSetsTheBeatOnlyWhenItsWaitWaited) {
    FramePacer pacer;
    pacer.Start(0, 60);
    pacer.FrameDrawn(0);
    pacer.CompositorFrame(5);  // back within half a period: ignored
    EXPECT_EQ(pacer.MsUntilDue(5), 11u);
    pacer.CompositorFrame(12);
    EXPECT_EQ(pacer.MsUntilDue(12), 0u);
    pacer.FrameDrawn(12);
    EXPECT_EQ(pacer.MsUntilDue(12), 16u);
}

}  // namespace
}  // namespace pelluna
