// The frame pacer: whole refreshes for the monitors and the desk, an exact grid, late frames, the compositor.
#include "saver/FramePacer.h"

#include <gtest/gtest.h>

namespace pelluna {
namespace {

TEST(FramePacer, FramesOfWholeRefreshesOnAGridOfExactSecondsAndLateFramesSkipAhead) {
    // clang-format off
    const struct {
        std::vector<std::uint32_t> rates;  // one a monitor
        FramePacer::Conditions conditions;
        std::uint32_t frames, seconds, firstWait;  // frames drawn as they fall due take whole seconds
    } rows[] = {{{0}, {}, 60, 1, 16}, {{1}, {}, 60, 1, 16}, {{30}, {}, 30, 1, 33}, {{59}, {}, 59, 1, 16},
                {{60}, {}, 60, 1, 16}, {{75}, {}, 75, 1, 13}, {{90}, {}, 90, 1, 11}, {{100}, {}, 100, 1, 10},
                {{120}, {}, 60, 1, 16}, {{144}, {}, 72, 1, 13}, {{165}, {}, 165, 2, 12}, {{240}, {}, 60, 1, 16},
                {{360}, {}, 60, 1, 16}, {{500}, {}, 125, 2, 16}, {{9999}, {}, 125, 2, 16},
                {{1, 60, 144}, {}, 72, 1, 13}, {{165}, {.batterySaver = true}, 165, 6, 36},
                {{60}, {.onBattery = true}, 30, 1, 33},
                {{144}, {.onBattery = true}, 144, 5, 34}, {{60}, {.energySaver = true}, 30, 1, 33},
                {{60}, {.remoteSession = true}, 20, 1, 50}, {{240}, {.remoteSession = true}, 20, 1, 50},
                {{144}, {.onBattery = true, .remoteSession = true}, 18, 1, 55}};
    // clang-format on
    for (const auto& row : rows) {
        FramePacer pacer;
        pacer.SetConditions(row.conditions);
        pacer.Start(0, FramePacer::RefreshRateFor(row.rates));
        pacer.FrameDrawn(0);
        EXPECT_EQ(pacer.MsUntilDue(0), row.firstWait) << row.rates.back();
        // Drawn as they fall due, the frames take whole seconds exactly: the period's fractions are kept.
        std::uint32_t now = 0;
        for (std::uint32_t frame = 1; frame < row.frames; ++frame)
            pacer.FrameDrawn(now += pacer.MsUntilDue(now));
        EXPECT_EQ(now + pacer.MsUntilDue(now), row.seconds * 1000) << row.rates.back();
    }
    FramePacer pacer;
    const std::uint32_t t = 0xFFFFFFF0u;  // the counter wraps on the way
    pacer.Start(t, 144);                  // frames of two refreshes, 13.9 ms
    pacer.FrameDrawn(t);
    pacer.FrameDrawn(t + 30);       // due at +13, drawn at +30: +27 is left out, +41 is next
    pacer.CompositorFrame(t + 32);  // a compositor wait that did not wait: no beat
    EXPECT_EQ(pacer.MsUntilDue(t + 32), 9u);
    pacer.SetConditions({.onBattery = true});  // from the next frame on, five refreshes from the last (+27.8)
    EXPECT_EQ(pacer.MsUntilDue(t + 32), 30u);  // +62.5: the fractions are kept
    pacer.SetConditions({});
    pacer.CompositorFrame(t + 36);  // more than half a refresh on: the compositor's beat, next a refresh on
    EXPECT_EQ(pacer.MsUntilDue(t + 36), 6u);
    pacer.FrameDrawn(t + 42);
    pacer.FrameDrawn(t + 70);  // due at +56, drawn late on the point after: +84 is next, not +70 at once
    EXPECT_EQ(pacer.MsUntilDue(t + 70), 14u);
}

}  // namespace
}  // namespace pelluna
