// Fuzz target: the Command button fed sequences of mouse, focus, timer, size and property events.
//
// Input lines, one event each, in order:
//   down N | up N     a mouse button pressed or released (1 left, 2 right, 4 middle; any code)
//   move | focus | blur | resize
//   lost              another window takes the mouse capture
//   tick own|parent|other|none     a TmrMouse tick with the pointer over that window
//   enable | disable | read        Enabled written, or read (a new control's first read sets it up)
//   init              Initialize, as the host calls it right after loading: honoured only as the first event
//   size W H | dpi X Y             the control's size in pixels, the system's twips per pixel
#include <cstdint>
#include <string>
#include <vector>

#include "FakeCommandHost.h"
#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "controls/Command.h"
#include "controls/PropertyBag.h"

namespace pelluna::fuzz {
namespace {

constexpr std::size_t kMaxEvents = 2000;
constexpr Point kPointer{400, 300};
constexpr Hwnd kOtherWindow = 0x9999;

// A code that names one button: 1 left, 2 right, 4 middle.
bool OneButton(std::int16_t code) {
    return code == 1 || code == 2 || code == 4;
}

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    testing::FakePlatform fake(932);
    fake.gdi.logCalls = false;
    fake.user.cursorPos = kPointer;
    testing::FakeCommandHost host(fake.log);
    Command button(fake.user, fake.gdi, host);
    int clicks = 0;
    button.Click = [&clicks] { ++clicks; };
    // As the view forwards the capture-changed message: at once, also when the control lets go itself.
    host.onCaptureLost = [&button] { button.CaptureLost(); };
    button.LoadProperties(PropertyBag{});

    bool enabled = true;        // what the control was last told, by its stored value or a write
    bool draggedOff = false;    // a focused press whose pointer has left the control before its release
    std::uint8_t heldHere = 0;  // buttons pressed while enabled on the control, with no lost capture since
    std::size_t events = 0;
    for (const std::string_view line : Lines(AsText(data, size))) {
        if (++events > kMaxEvents) break;
        std::string_view rest;
        const std::uint8_t stateBefore = button.State();
        const bool leftDownBefore = button.LeftDown();
        const int clicksBefore = clicks;
        bool release = false;
        const bool frozen = !enabled;  // no input, tick or property write moves a disabled button

        if (Keyword(line, "down", rest)) {
            const auto code = IntegerIn<std::int16_t>(rest);
            button.MouseDown(code);
            if (enabled && OneButton(code)) heldHere |= static_cast<std::uint8_t>(code);
        } else if (Keyword(line, "up", rest)) {
            const auto code = IntegerIn<std::int16_t>(rest);
            release = true;
            button.MouseUp(code);
            if (draggedOff) Require(clicks == clicksBefore, "a press dragged off the control gives no Click");
            if (!OneButton(code) || (heldHere & code) == 0) {
                Require(clicks == clicksBefore, "no Click without a press held here since the capture");
            }
            if (OneButton(code)) heldHere &= static_cast<std::uint8_t>(~code);
            if (code == 1) draggedOff = false;
        } else if (line == "lost") {
            host.captured = false;
            button.CaptureLost();
            heldHere = 0;
            if (enabled) draggedOff = false;  // the lost capture ended the press
        } else if (line == "move") {
            button.MouseMove();
        } else if (line == "focus") {
            button.GotFocus();
        } else if (line == "blur") {
            button.LostFocus();
            if (enabled) draggedOff = false;  // the control no longer holds the press as its own
        } else if (line == "resize") {
            button.Resize();
        } else if (Keyword(line, "tick", rest)) {
            fake.user.windowsAtPoint[{kPointer.x, kPointer.y}] = rest == "own"      ? host.window
                                                                 : rest == "parent" ? host.parent
                                                                 : rest == "other"  ? kOtherWindow
                                                                                    : 0;
            button.TmrMouse_Timer();
            if (stateBefore == 4 && button.State() == 3 && leftDownBefore) draggedOff = true;
        } else if (line == "enable" || line == "disable") {
            enabled = line == "enable";
            button.Enabled(enabled);
        } else if (line == "read") {
            if (button.FirstRun() == 0) enabled = true;  // the first read sets a new control up
            Require(button.Enabled() == enabled, "Enabled reads as last written");
        } else if (line == "init") {
            if (events == 1) button.Initialize();
        } else if (Keyword(line, "size", rest)) {
            const std::size_t blank = rest.find(' ');
            host.width = IntegerIn<std::int32_t>(rest.substr(0, blank));
            host.height =
                blank == std::string_view::npos ? 0 : IntegerIn<std::int32_t>(rest.substr(blank + 1));
            button.Resize();
        } else if (Keyword(line, "dpi", rest)) {
            const std::size_t blank = rest.find(' ');
            host.twipsPerPixelX = DoubleIn(rest.substr(0, blank));
            host.twipsPerPixelY = blank == std::string_view::npos ? 15.0 : DoubleIn(rest.substr(blank + 1));
            button.Resize();
        }

        Require(button.State() <= 4, "the state stays 0 to 4");
        Require(host.captured == (heldHere != 0),
                "the capture is held exactly while a press held here lasts");
        Require(clicks - clicksBefore <= (release ? 1 : 0), "Click comes only from a release, once");
        if (frozen) {
            Require(button.State() == stateBefore && button.LeftDown() == leftDownBefore &&
                        clicks == clicksBefore,
                    "a disabled button stays frozen");
        }
        fake.log.Clear();
    }
    return 0;
}
