// The preview window: a still picture embedded as a child window in the host's preview box.
#include "saver/Pelluna_R.h"

#include "common/Numbers.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

// Handles keep their low 32 bits; the system sign-extends them to the pointer size.
Hwnd HandleFromInt32(std::int32_t handle) {
    return static_cast<Hwnd>(static_cast<std::intptr_t>(handle));
}
std::int32_t Int32FromHandle(Hwnd handle) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(handle));
}

// Rounded half to even into 32 bits, not 16, so boxes wider or higher than 2184 pixels are sized as well;
// 0 for what even 32 bits cannot hold.
std::int32_t Rounded(double value) {
    return numbers::RoundToInt32(value).value_or(0);
}

}  // namespace

void Pelluna_R::SetUp(std::int32_t hHost) {
    User& user = platform_.user;
    const Hwnd host = HandleFromInt32(hHost);
    if (host == 0 || !user.IsWindow(host)) platform_.kernel.ExitProcess(0);

    const Hwnd window = host_.Load();
    const std::int32_t style = user.GetWindowLongA(window, win::GWL_STYLE);
    gApiResult = user.SetWindowLongA(
        window, win::GWL_STYLE, static_cast<std::int32_t>(static_cast<std::uint32_t>(style) | win::WS_CHILD));
    gApiResult = Int32FromHandle(user.SetParent(window, host));

    // The box is measured once the window is its child, in the pixels the child is placed in: the client
    // area, which grows with the display's scale. A failed call leaves the sizes 0.
    Rect box{};
    user.GetClientRect(host, box);
    const double twipsX = host_.TwipsPerPixelX();
    const double twipsY = host_.TwipsPerPixelY();
    // The sizes are differences of 32-bit coordinates: computed in 64 bits so they cannot overflow.
    const auto widthPixels = static_cast<std::int64_t>(box.right) - box.left;
    const auto heightPixels = static_cast<std::int64_t>(box.bottom) - box.top;
    const std::int32_t widthTwips = Rounded(static_cast<double>(widthPixels) * twipsX);
    const std::int32_t heightTwips = Rounded(static_cast<double>(heightPixels) * twipsY);
    host_.Move(0, 0, widthTwips, heightTwips);
    host_.MoveImage(0, 0, Rounded(widthTwips / twipsX), Rounded(heightTwips / twipsY));
    host_.Show();
}

}  // namespace pelluna
