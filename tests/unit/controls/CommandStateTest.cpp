// The Command button's states against fakes: every transition with its paint and Click, dragged presses,
// disabled controls, the hover poll and the gradient direction that each path leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeCommandHost.h"
#include "FakePlatform.h"
#include "controls/Command.h"

namespace pelluna {
namespace {

using ::testing::ElementsAre;
using testing::FakeCommandHost;
using testing::FakePlatform;
using ::testing::IsEmpty;

constexpr Hwnd kOtherWindow = 0x9999;
constexpr Point kPointer{500, 300};

// Whether the last gradient of the log had the shade colour (C6C5D7) on its top row.
bool LastGradientShadeOnTop(const testing::CallLog& log) {
    const auto fills = log.CallsTo("GradientFill(");
    EXPECT_FALSE(fills.empty());
    return !fills.empty() && fills.back().find("{(0, 0, C600, C500, D700, 0000)") != std::string::npos;
}

enum class Input {
    LeftPress,
    RightPress,
    MiddlePress,
    Move,
    LeftRelease,
    RightRelease,
    MiddleRelease,
    FocusGained,
    FocusLost,
    TickOnOtherWindow,
    TickOnParent,
    TickOnOwnWindow,
    Initialize,
    Resize,
};

const char* InputName(Input input) {
    static const char* const names[] = {"left press",   "right press",   "middle press",   "move",
                                        "left release", "right release", "middle release", "focus gained",
                                        "focus lost",   "tick, other",   "tick, parent",   "tick, own",
                                        "Initialize",   "resize"};
    return names[static_cast<int>(input)];
}

class CommandStateTest : public ::testing::Test {
  protected:
    CommandStateTest() { fake_.user.cursorPos = kPointer; }

    // A new enabled control (loaded from an empty store) brought into a state by the usual inputs.
    void Reach(int state, bool leftDown = false) {
        made_ = std::make_unique<Command>(fake_.user, fake_.gdi, host_);
        made_->Click = [this] { ++clicks_; };
        made_->LoadProperties(PropertyBag{});
        if (state >= 1) made_->Initialize();
        if (state == 2) made_->MouseMove();
        if (state >= 3) made_->GotFocus();
        if (state == 4) made_->MouseMove();
        if (leftDown) made_->MouseDown(1);
        ASSERT_EQ(made_->State(), state);
        ASSERT_EQ(made_->LeftDown(), leftDown);
        fake_.log.Clear();
        clicks_ = 0;
    }

    void PointerOver(Hwnd window) { fake_.user.windowsAtPoint[{kPointer.x, kPointer.y}] = window; }

    void Apply(Input input) {
        switch (input) {
            case Input::LeftPress:
                return made_->MouseDown(1);
            case Input::RightPress:
                return made_->MouseDown(2);
            case Input::MiddlePress:
                return made_->MouseDown(4);
            case Input::Move:
                return made_->MouseMove();
            case Input::LeftRelease:
                return made_->MouseUp(1);
            case Input::RightRelease:
                return made_->MouseUp(2);
            case Input::MiddleRelease:
                return made_->MouseUp(4);
            case Input::FocusGained:
                return made_->GotFocus();
            case Input::FocusLost:
                return made_->LostFocus();
            case Input::TickOnOtherWindow:
                PointerOver(kOtherWindow);
                return made_->TmrMouse_Timer();
            case Input::TickOnParent:
                PointerOver(host_.parent);
                return made_->TmrMouse_Timer();
            case Input::TickOnOwnWindow:
                PointerOver(host_.window);
                return made_->TmrMouse_Timer();
            case Input::Initialize:
                return made_->Initialize();
            case Input::Resize:
                return made_->Resize();
        }
    }

    std::vector<std::string> Paints() const { return testing::PaintedPictures(fake_.log); }

    FakePlatform fake_;
    FakeCommandHost host_{fake_.log};
    std::unique_ptr<Command> made_;  // made by Reach
    int clicks_ = 0;
};

TEST_F(CommandStateTest, EveryTransitionOfAnEnabledControlWithItsPaintAndClick) {
    using enum Input;
    const struct Row {
        int from;
        bool leftDown;
        Input input;
        int to;
        std::vector<std::string> paints;
        int clicks;
    } rows[] = {
        // A left press paints the press look in every state and changes no state; other presses do nothing.
        {0, false, LeftPress, 0, {"Pressed"}, 0},
        {1, false, LeftPress, 1, {"Pressed"}, 0},
        {2, false, LeftPress, 2, {"Pressed"}, 0},
        {3, false, LeftPress, 3, {"Pressed"}, 0},
        {4, false, LeftPress, 4, {"Pressed"}, 0},
        {2, false, RightPress, 2, {}, 0},
        {4, false, MiddlePress, 4, {}, 0},
        // Movement.
        {0, false, Move, 0, {}, 0},
        {1, false, Move, 2, {"HighLight"}, 0},
        {2, false, Move, 2, {}, 0},
        {3, false, Move, 4, {"HighLightSelect"}, 0},
        {3, true, Move, 3, {}, 0},
        {4, false, Move, 4, {}, 0},
        // Releases: Click unless the state is 3; the left one repaints in states 2 and 4.
        {0, false, LeftRelease, 0, {}, 1},
        {1, false, LeftRelease, 1, {}, 1},
        {2, true, LeftRelease, 2, {"Normal"}, 1},
        {3, true, LeftRelease, 3, {}, 0},
        {3, false, LeftRelease, 3, {}, 0},
        {4, true, LeftRelease, 4, {"HighLightSelect"}, 1},
        {0, false, RightRelease, 0, {}, 1},
        {2, false, RightRelease, 2, {}, 1},
        {3, false, RightRelease, 3, {}, 0},
        {4, false, RightRelease, 4, {}, 1},
        {2, false, MiddleRelease, 2, {}, 1},
        {3, false, MiddleRelease, 3, {}, 0},
        // Focus.
        {0, false, FocusGained, 3, {"Selected"}, 0},
        {1, false, FocusGained, 3, {"Selected"}, 0},
        {2, false, FocusGained, 4, {"Pressed"}, 0},
        {3, false, FocusGained, 3, {"Selected"}, 0},
        {4, false, FocusGained, 3, {"Selected"}, 0},
        {0, false, FocusLost, 1, {"Normal"}, 0},
        {1, false, FocusLost, 1, {}, 0},
        {2, false, FocusLost, 1, {"Normal"}, 0},
        {3, false, FocusLost, 1, {"Normal"}, 0},
        {4, false, FocusLost, 1, {"Normal"}, 0},
        // The hover poll: any window but the control's own ends the hover.
        {0, false, TickOnOtherWindow, 0, {}, 0},
        {1, false, TickOnOtherWindow, 1, {}, 0},
        {2, false, TickOnOtherWindow, 1, {"Normal"}, 0},
        {3, false, TickOnOtherWindow, 3, {}, 0},
        {4, false, TickOnOtherWindow, 3, {"Selected"}, 0},
        {2, false, TickOnParent, 1, {"Normal"}, 0},
        {4, true, TickOnParent, 3, {"Selected"}, 0},
        {2, false, TickOnOwnWindow, 2, {}, 0},
        {4, false, TickOnOwnWindow, 4, {}, 0},
        // Set-up and size.
        {0, false, Initialize, 1, {}, 0},
        {0, false, Resize, 0, {"Normal"}, 0},
        {2, false, Resize, 2, {"Normal"}, 0},
        {3, false, Resize, 3, {"Normal"}, 0},
        {4, true, Resize, 4, {"Normal"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << (row.leftDown ? " (left held)" : "")
                                          << ", " << InputName(row.input));
        fake_.user.windowsAtPoint.clear();
        Reach(row.from, row.leftDown);
        Apply(row.input);
        EXPECT_EQ(made_->State(), row.to);
        EXPECT_EQ(Paints(), row.paints);
        EXPECT_EQ(clicks_, row.clicks);
        const bool leftDown = row.input == LeftPress ? true : row.input == LeftRelease ? false : row.leftDown;
        EXPECT_EQ(made_->LeftDown(), leftDown);
    }
}

TEST_F(CommandStateTest, APressDraggedOffGivesNoClickEvenAfterComingBack) {
    Reach(1);
    made_->MouseMove();  // the pointer enters: 1 -> 2
    made_->GotFocus();   // the press takes the focus: 2 -> 4
    made_->MouseDown(1);
    PointerOver(kOtherWindow);
    made_->TmrMouse_Timer();  // dragged off: 4 -> 3
    PointerOver(host_.window);
    made_->MouseMove();  // back over the control while still held: stays 3
    made_->TmrMouse_Timer();
    made_->MouseUp(1);
    EXPECT_EQ(clicks_, 0);
    EXPECT_EQ(made_->State(), 3);
    EXPECT_THAT(Paints(), ElementsAre("HighLight", "Pressed", "Pressed", "Selected"));
    // The release ended the press: the hover look comes back at the next movement.
    made_->MouseMove();
    EXPECT_EQ(made_->State(), 4);
}

TEST_F(CommandStateTest, AClickOnAnUnfocusedControlPaintsEachStepAndClicksOnce) {
    Reach(1);
    made_->MouseMove();
    made_->GotFocus();
    made_->MouseDown(1);
    made_->MouseUp(1);
    EXPECT_EQ(clicks_, 1);
    PointerOver(kOtherWindow);
    made_->TmrMouse_Timer();
    EXPECT_EQ(made_->State(), 3);
    EXPECT_THAT(Paints(), ElementsAre("HighLight", "Pressed", "Pressed", "HighLightSelect", "Selected"));
}

TEST_F(CommandStateTest, ADisabledControlIsFrozenWhileItsTimerKeepsPolling) {
    Reach(2);
    made_->Enabled(false);
    EXPECT_THAT(Paints(), ElementsAre("Disable"));
    fake_.log.Clear();
    PointerOver(kOtherWindow);
    for (Input input : {Input::TickOnOtherWindow, Input::Move, Input::LeftPress, Input::LeftRelease,
                        Input::RightRelease, Input::FocusGained, Input::FocusLost, Input::TickOnParent}) {
        Apply(input);
    }
    EXPECT_EQ(made_->State(), 2);
    EXPECT_FALSE(made_->LeftDown());
    EXPECT_EQ(clicks_, 0);
    EXPECT_THAT(Paints(), IsEmpty());
    // The polling itself goes on: two ticks, each a position and a window lookup.
    EXPECT_EQ(fake_.log.CallsTo("GetCursorPos(").size(), 2u);
    EXPECT_EQ(fake_.log.CallsTo("WindowFromPoint(500, 300)").size(), 2u);
    // A resize still shows the disabled look.
    made_->Resize();
    EXPECT_THAT(Paints(), ElementsAre("Disable"));

    // Enabled again: the Normal look, the state where it stood, and the next tick ends the hover.
    fake_.log.Clear();
    made_->Enabled(true);
    EXPECT_EQ(made_->State(), 2);
    made_->TmrMouse_Timer();
    EXPECT_EQ(made_->State(), 1);
    EXPECT_THAT(Paints(), ElementsAre("Normal", "Normal"));
}

TEST_F(CommandStateTest, InitializeStartsTheHundredMillisecondTimerAndPaintsNothing) {
    Reach(0);
    made_->Initialize();
    EXPECT_THAT(fake_.log.Calls(), ElementsAre("Host.SetTimerEnabled(true)", "Host.SetTimerInterval(100)"));
}

TEST_F(CommandStateTest, TheGradientDirectionFollowsTheStateAndThePathIntoStateFour) {
    const struct {
        const char* path;
        std::vector<Input> inputs;
        bool shadeOnTop;
    } paths[] = {
        {"Normal", {Input::Initialize, Input::Resize}, false},
        {"HighLight", {Input::Initialize, Input::Move}, true},
        {"Selected", {Input::Initialize, Input::FocusGained}, false},
        {"state 4 from 3 by the pointer", {Input::Initialize, Input::FocusGained, Input::Move}, false},
        {"state 4 from 2 by the focus", {Input::Initialize, Input::Move, Input::FocusGained}, true},
        {"release in state 4 entered by the focus",
         {Input::Initialize, Input::Move, Input::FocusGained, Input::LeftPress, Input::LeftRelease},
         true},
        {"release in state 4 entered by the pointer",
         {Input::Initialize, Input::FocusGained, Input::Move, Input::LeftPress, Input::LeftRelease},
         false},
        {"resize while hovered: Normal look, state 2's direction",
         {Input::Initialize, Input::Move, Input::Resize},
         true},
        {"press while selected", {Input::Initialize, Input::FocusGained, Input::LeftPress}, false},
        {"press while hovered", {Input::Initialize, Input::Move, Input::LeftPress}, true},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.path);
        FakePlatform fake;
        FakeCommandHost host(fake.log);
        Command command(fake.user, fake.gdi, host);
        command.LoadProperties(PropertyBag{});
        for (Input input : path.inputs) {
            if (input == Input::Initialize) command.Initialize();
            if (input == Input::Resize) command.Resize();
            if (input == Input::Move) command.MouseMove();
            if (input == Input::FocusGained) command.GotFocus();
            if (input == Input::LeftPress) command.MouseDown(1);
            if (input == Input::LeftRelease) command.MouseUp(1);
        }
        EXPECT_EQ(command.GradientInverted(), path.shadeOnTop);
        EXPECT_EQ(LastGradientShadeOnTop(fake.log), path.shadeOnTop);
    }
}

}  // namespace
}  // namespace pelluna
