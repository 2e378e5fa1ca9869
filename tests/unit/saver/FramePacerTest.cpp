// The frame pacer: the rate from the monitors' reported rates, its exact grid, late frames, the compositor.
#include "saver/FramePacer.h"

#include <gtest/gtest.h>

namespace pelluna {
namespace {

TEST(FramePacer, RatesGivenBySystemToAGridOfExactlyOneSecondAndLateFramesSkipAhead) {
    const struct {
        std::vector<std::uint32_t> rates;  // one a monitor
        std::uint32_t rate, firstWait;     // the wait after a frame drawn on time at 0 ms
    } rows[] = {{{0}, 60, 16},  {{1}, 60, 16},   {{30}, 30, 33},  {{59}, 59, 16},
                {{60}, 60, 16}, {{144}, 144, 6}, {{500}, 240, 4}, {{1, 60, 144}, 144, 6}};
    for (const auto& row : rows) {
        FramePacer pacer;
        pacer.Start(0, FramePacer::RateFor(row.rates));
        pacer.FrameDrawn(0);
        EXPECT_EQ(pacer.MsUntilDue(0), row.firstWait) << row.rate;
        // Drawn as they fall due, rate frames take one second exactly: the period's fractions are kept.
        std::uint32_t now = 0;
        for (std::uint32_t frame = 1; frame < row.rate; ++frame)
            pacer.FrameDrawn(now += pacer.MsUntilDue(now));
        EXPECT_EQ(now + pacer.MsUntilDue(now), 1000u) << row.rate;
    }
    FramePacer pacer;
    pacer.Start(0xFFFFFFF0u, 60);  // the counter wraps on the way
    pacer.FrameDrawn(0xFFFFFFF0u);
    pacer.FrameDrawn(0xFFFFFFF0u + 40);       // due at +16, drawn at +40: +33 is left out, +50 is next
    pacer.CompositorFrame(0xFFFFFFF0u + 42);  // a compositor wait that did not wait: no beat
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u + 42), 8u);
    pacer.CompositorFrame(0xFFFFFFF0u + 49);  // more than half a period on: the compositor's beat
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u + 49), 0u);
    pacer.FrameDrawn(0xFFFFFFF0u + 49);
    pacer.FrameDrawn(0xFFFFFFF0u + 82);  // due at +65, drawn on the point after: +99 is next, not +82 at once
    EXPECT_EQ(pacer.MsUntilDue(0xFFFFFFF0u + 82), 17u);
}

}  // namespace
}  // namespace pelluna
