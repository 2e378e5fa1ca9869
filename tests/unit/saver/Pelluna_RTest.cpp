// The preview set-up against fakes: its calls with their arguments and the twips arithmetic.
#include "saver/Pelluna_R.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "FakeWindowHosts.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using ::testing::ElementsAre;
using testing::FakePlatform;
using testing::FakePreviewHost;
using testing::ProcessExit;

constexpr Hwnd kBox = 1234;

class Pelluna_RTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetProcessValues();
        fake_.user.windows.insert(kBox);
        fake_.user.windowLongs[host_.window] =
            static_cast<std::int32_t>(0x86000000u);  // WS_POPUP, WS_CLIPSIBLINGS, WS_CLIPCHILDREN
        fake_.user.setParentResult = 0x10010;
    }

    FakePlatform fake_;
    FakePreviewHost host_{fake_.log};
    Pelluna_R preview_{fake_.ports, host_};
};

TEST_F(Pelluna_RTest, EmbedsTheWindowInTheBoxInEightSteps) {
    fake_.user.clientRects[kBox] = Rect{0, 0, 152, 112};
    preview_.SetUp(1234);
    EXPECT_THAT(
        fake_.log.Calls(),
        ElementsAre("IsWindow(1234)", "Host.Load()", "GetWindowLongA(32382, -16)",
                    "SetWindowLongA(32382, -16, 3321888768)", "SetParent(32382, 1234)", "GetClientRect(1234)",
                    "Host.Move(0, 0, 2280, 1680)", "Host.MoveImage(0, 0, 152, 112)", "Host.Show()"));
    EXPECT_EQ(gApiResult, 0x10010);
}

TEST_F(Pelluna_RTest, TwipsFollowTheReportedScale) {
    const struct {
        Rect box;
        double twipsX;
        double twipsY;
        const char* move;
        const char* image;
    } cases[] = {
        {{0, 0, 152, 112}, 15.0, 15.0, "Host.Move(0, 0, 2280, 1680)", "Host.MoveImage(0, 0, 152, 112)"},
        {{0, 0, 152, 112}, 7.5, 10.0, "Host.Move(0, 0, 1140, 1120)", "Host.MoveImage(0, 0, 152, 112)"},
        {{0, 0, 3, 1},
         7.5,
         7.5,
         "Host.Move(0, 0, 22, 8)",
         "Host.MoveImage(0, 0, 3, 1)"},  // 22.5 -> 22, 7.5 -> 8
        {{-50, -40, 2950, 2160},
         15.0,
         15.0,
         "Host.Move(0, 0, 45000, 33000)",
         "Host.MoveImage(0, 0, 3000, 2200)"},
        {{0, 0, 0, 0}, 15.0, 15.0, "Host.Move(0, 0, 0, 0)", "Host.MoveImage(0, 0, 0, 0)"},
        {{-2147483647 - 1, 0, 2147483647, 10},
         15.0,
         15.0,
         "Host.Move(0, 0, 0, 150)",
         "Host.MoveImage(0, 0, 0, 10)"},
    };
    for (const auto& c : cases) {
        fake_.log.Clear();
        fake_.user.clientRects[kBox] = c.box;
        host_.twipsPerPixelX = c.twipsX;
        host_.twipsPerPixelY = c.twipsY;
        preview_.SetUp(1234);
        EXPECT_EQ(fake_.log.CallsTo("Host.Move("), std::vector<std::string>{c.move}) << c.move;
        EXPECT_EQ(fake_.log.CallsTo("Host.MoveImage("), std::vector<std::string>{c.image}) << c.image;
    }
}

TEST_F(Pelluna_RTest, AHandleThatNamesNoWindowEndsAtOnceWithoutAWindow) {
    for (std::int32_t handle : {0, 999, -1}) {
        fake_.log.Clear();
        EXPECT_THROW(preview_.SetUp(handle), ProcessExit) << handle;
        EXPECT_THAT(fake_.log.CallsTo("Host."), ElementsAre()) << handle;
        EXPECT_EQ(fake_.log.Calls().back(), "ExitProcess(0)");
    }
}

TEST_F(Pelluna_RTest, HandlesAreSignExtendedFromThirtyTwoBits) {
    const Hwnd negative = static_cast<Hwnd>(static_cast<std::intptr_t>(-5));
    fake_.user.windows.insert(negative);
    preview_.SetUp(-5);
    EXPECT_EQ(fake_.log.Calls().front(), "IsWindow(" + std::to_string(negative) + ")");
}

}  // namespace
}  // namespace pelluna
