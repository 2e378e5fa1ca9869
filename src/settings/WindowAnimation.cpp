// The system's caption-zoom animation between the saved cursor point and a window, for opening and closing.
#include "settings/WindowAnimation.h"

namespace pelluna {

std::int16_t gCursorX = 0;
std::int16_t gCursorY = 0;

namespace {

Rect CursorRect() {
    const std::int32_t x = gCursorX;
    const std::int32_t y = gCursorY;
    return Rect{x, y, x, y};
}

// A window the system does not know leaves the rectangle empty at the screen's corner.
Rect WindowRect(User& user, Hwnd hWnd) {
    Rect window{};
    user.GetWindowRect(hWnd, window);
    return window;
}

}  // namespace

void ShowOpenAnimation(User& user, Hwnd hWnd) {
    const Rect cursor = CursorRect();
    const Rect window = WindowRect(user, hWnd);
    user.DrawAnimatedRects(hWnd, win::IDANI_CAPTION, cursor, window);
}

void ShowCloseAnimation(User& user, Hwnd hWnd) {
    const Rect cursor = CursorRect();
    const Rect window = WindowRect(user, hWnd);
    user.DrawAnimatedRects(hWnd, win::IDANI_CAPTION, window, cursor);
}

}  // namespace pelluna
