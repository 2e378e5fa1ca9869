// The Command button's states against fakes: every transition with its paint and Click, dragged presses,
// presses that went down elsewhere or lost the capture, disabled controls, the hover poll and the gradient
// direction that each path leaves.
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
    CaptureLost,  // another window took the mouse capture
    KeyHeld,      // Space held down on the focused control, and let go
    KeyLetGo,
};

// Which press went down on the control before the input; "Lost": and then the capture went elsewhere.
enum class Held { Free, LeftHeld, RightHeld, MiddleHeld, LeftLost, RightLost };
const char* const kHeldNames[] = {
    "", " (left held)", " (right held)", " (middle held)", " (left lost)", " (right lost)"};

const char* InputName(Input input) {
    static const char* const names[] = {
        "left press",     "right press",  "middle press", "move",        "left release", "right release",
        "middle release", "focus gained", "focus lost",   "tick, other", "tick, parent", "tick, own",
        "Initialize",     "resize",       "capture lost", "key held",    "key let go"};
    return names[static_cast<int>(input)];
}

class CommandStateTest : public ::testing::Test {
  protected:
    CommandStateTest() {
        fake_.user.cursorPos = kPointer;
        host_.onCaptureLost = [this] { made_->CaptureLost(); };
    }

    // A new enabled control (loaded from an empty store) brought into a state by the usual inputs.
    void Reach(int state, Held held = Held::Free) {
        using enum Held;
        made_ = std::make_unique<Command>(fake_.user, fake_.gdi, host_);
        made_->Click = [this] {
            ++clicks_;
            fake_.log.Add("Click");
        };
        host_.captured = false;
        made_->LoadProperties(PropertyBag{});
        if (state >= 1) made_->Initialize();
        if (state == 2) made_->MouseMove();
        if (state >= 3) made_->GotFocus();
        if (state == 4) made_->MouseMove();
        if (held == LeftHeld || held == LeftLost) made_->MouseDown(1);
        if (held == RightHeld || held == RightLost) made_->MouseDown(2);
        if (held == MiddleHeld) made_->MouseDown(4);
        if (held == LeftLost || held == RightLost) Apply(Input::CaptureLost);
        ASSERT_EQ(made_->State(), state);
        ASSERT_EQ(made_->LeftDown(), held == LeftHeld);
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
            case Input::CaptureLost:
                host_.captured = false;
                return made_->CaptureLost();
            case Input::KeyHeld:
            case Input::KeyLetGo:
                return made_->KeyPressLook(input == Input::KeyHeld);
        }
    }

    std::vector<std::string> Paints() const { return testing::PaintedPictures(fake_.log); }

    // The focus and capture calls to the host and the Clicks, in their order.
    std::vector<std::string> FocusCaptureAndClicks() const {
        std::vector<std::string> calls;
        for (const std::string& call : fake_.log.Calls()) {
            for (const char* name : {"Host.SetFocus", "Host.SetCapture", "Host.ReleaseCapture", "Click"}) {
                if (call.rfind(name, 0) == 0) calls.push_back(call);
            }
        }
        return calls;
    }

    FakePlatform fake_;
    FakeCommandHost host_{fake_.log};
    std::unique_ptr<Command> made_;  // made by Reach
    int clicks_ = 0;
};

TEST_F(CommandStateTest, EveryTransitionOfAnEnabledControlWithItsPaintAndClick) {
    using enum Input;
    using enum Held;
    const struct Row {
        int from;
        Held held;
        Input input;
        int to;
        std::vector<std::string> paints;
        int clicks;
    } rows[] = {
        // A left press paints the press look in every state and changes no state; other presses do nothing.
        {0, Free, LeftPress, 0, {"Pressed"}, 0},
        {1, Free, LeftPress, 1, {"Pressed"}, 0},
        {2, Free, LeftPress, 2, {"Pressed"}, 0},
        {3, Free, LeftPress, 3, {"Pressed"}, 0},
        {4, Free, LeftPress, 4, {"Pressed"}, 0},
        {2, Free, RightPress, 2, {}, 0},
        {4, Free, MiddlePress, 4, {}, 0},
        // Movement.
        {0, Free, Move, 0, {}, 0},
        {1, Free, Move, 2, {"HighLight"}, 0},
        {2, Free, Move, 2, {}, 0},
        {3, Free, Move, 4, {"HighLightSelect"}, 0},
        {3, LeftHeld, Move, 3, {}, 0},
        {4, Free, Move, 4, {}, 0},
        // Releases of presses that went down here: Click unless the state is 3; the left one repaints in
        // states 2 and 4.
        {0, LeftHeld, LeftRelease, 0, {}, 1},
        {1, LeftHeld, LeftRelease, 1, {}, 1},
        {2, LeftHeld, LeftRelease, 2, {"Normal"}, 1},
        {3, LeftHeld, LeftRelease, 3, {}, 0},
        {3, Free, LeftRelease, 3, {}, 0},
        {4, LeftHeld, LeftRelease, 4, {"HighLightSelect"}, 1},
        {0, RightHeld, RightRelease, 0, {}, 1},
        {2, RightHeld, RightRelease, 2, {}, 1},
        {3, Free, RightRelease, 3, {}, 0},
        {4, RightHeld, RightRelease, 4, {}, 1},
        {2, MiddleHeld, MiddleRelease, 2, {}, 1},
        {3, Free, MiddleRelease, 3, {}, 0},
        // A release whose press went down elsewhere (on the dialog, say) repaints as usual but is no Click.
        {2, Free, LeftRelease, 2, {"Normal"}, 0},
        {4, Free, LeftRelease, 4, {"HighLightSelect"}, 0},
        {4, Free, RightRelease, 4, {}, 0},
        // A lost capture ends the presses held here: no Click at their release, and no press keeps the
        // hover look away.
        {4, LeftHeld, CaptureLost, 4, {}, 0},
        {4, LeftLost, LeftRelease, 4, {"HighLightSelect"}, 0},
        {2, RightLost, RightRelease, 2, {}, 0},
        {3, LeftLost, Move, 4, {"HighLightSelect"}, 0},
        // Focus.
        {0, Free, FocusGained, 3, {"Selected"}, 0},
        {1, Free, FocusGained, 3, {"Selected"}, 0},
        {2, Free, FocusGained, 4, {"Pressed"}, 0},
        {3, Free, FocusGained, 3, {"Selected"}, 0},
        {4, Free, FocusGained, 3, {"Selected"}, 0},
        {0, Free, FocusLost, 1, {"Normal"}, 0},
        {1, Free, FocusLost, 1, {}, 0},
        {2, Free, FocusLost, 1, {"Normal"}, 0},
        {3, Free, FocusLost, 1, {"Normal"}, 0},
        {4, Free, FocusLost, 1, {"Normal"}, 0},
        // The hover poll: any window but the control's own ends the hover.
        {0, Free, TickOnOtherWindow, 0, {}, 0},
        {1, Free, TickOnOtherWindow, 1, {}, 0},
        {2, Free, TickOnOtherWindow, 1, {"Normal"}, 0},
        {3, Free, TickOnOtherWindow, 3, {}, 0},
        {4, Free, TickOnOtherWindow, 3, {"Selected"}, 0},
        {2, Free, TickOnParent, 1, {"Normal"}, 0},
        {4, LeftHeld, TickOnParent, 3, {"Selected"}, 0},
        {2, Free, TickOnOwnWindow, 2, {}, 0},
        {4, Free, TickOnOwnWindow, 4, {}, 0},
        // Set-up and size.
        {0, Free, Initialize, 1, {}, 0},
        {0, Free, Resize, 0, {"Normal"}, 0},
        {2, Free, Resize, 2, {"Normal"}, 0},
        {3, Free, Resize, 3, {"Normal"}, 0},
        {4, LeftHeld, Resize, 4, {"Normal"}, 0},
        // A key holds the control down: the press look, then the look of the state; no state changes.
        {3, Free, KeyHeld, 3, {"Pressed"}, 0},
        {3, Free, KeyLetGo, 3, {"Selected"}, 0},
        {4, Free, KeyLetGo, 4, {"HighLightSelect"}, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << "from " << row.from << kHeldNames[static_cast<int>(row.held)]
                                          << ", " << InputName(row.input));
        fake_.user.windowsAtPoint.clear();
        Reach(row.from, row.held);
        Apply(row.input);
        EXPECT_EQ(made_->State(), row.to);
        EXPECT_EQ(Paints(), row.paints);
        EXPECT_EQ(clicks_, row.clicks);
        const bool leftDown = row.input == LeftPress                                 ? true
                              : row.input == LeftRelease || row.input == CaptureLost ? false
                                                                                     : row.held == LeftHeld;
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
    EXPECT_THAT(FocusCaptureAndClicks(),
                ElementsAre("Host.SetFocus()", "Host.SetCapture()", "Host.ReleaseCapture()"));
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
    // The capture goes once the release is judged (its loss comes back at once) and before the Click.
    EXPECT_THAT(FocusCaptureAndClicks(),
                ElementsAre("Host.SetFocus()", "Host.SetCapture()", "Host.ReleaseCapture()", "Click"));
    EXPECT_FALSE(host_.captured);
}

TEST_F(CommandStateTest, ADisabledControlIsFrozenWhileItsTimerKeepsPolling) {
    Reach(2, Held::RightHeld);
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
    // Neither focus nor capture taken; the right press held from before lets its capture go.
    EXPECT_THAT(FocusCaptureAndClicks(), ElementsAre("Host.ReleaseCapture()"));
    EXPECT_FALSE(host_.captured);
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
        {"a click, then the pointer leaves: state 3 after the shade was on top",
         {Input::Initialize, Input::Move, Input::FocusGained, Input::LeftPress, Input::LeftRelease,
          Input::TickOnOtherWindow},
         false},
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path.path);
        FakePlatform fake;
        FakeCommandHost host(fake.log);
        Command command(fake.user, fake.gdi, host);
        command.LoadProperties(PropertyBag{});
        fake.user.cursorPos = kPointer;
        fake.user.windowsAtPoint[{kPointer.x, kPointer.y}] = kOtherWindow;
        for (Input input : path.inputs) {
            if (input == Input::Initialize) command.Initialize();
            if (input == Input::Resize) command.Resize();
            if (input == Input::Move) command.MouseMove();
            if (input == Input::FocusGained) command.GotFocus();
            if (input == Input::LeftPress) command.MouseDown(1);
            if (input == Input::LeftRelease) command.MouseUp(1);
            if (input == Input::TickOnOtherWindow) command.TmrMouse_Timer();
        }
        EXPECT_EQ(command.GradientInverted(), path.shadeOnTop);
        EXPECT_EQ(LastGradientShadeOnTop(fake.log), path.shadeOnTop);
    }
}

}  // namespace
}  // namespace pelluna
