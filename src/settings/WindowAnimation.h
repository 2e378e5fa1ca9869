// The system's caption-zoom animation between the saved cursor point and a window, for opening and closing.
#pragma once

#include <cstdint>

#include "platform/User.h"

namespace pelluna {

// Where the cursor stood when the settings dialog opened (0, 0 when it could not be read).
extern std::int16_t gCursorX;
extern std::int16_t gCursorY;

// From the cursor point out to the window's rectangle. Draws only; the window is left as it is.
void ShowOpenAnimation(User& user, Hwnd hWnd);
// From the window's rectangle back to the cursor point.
void ShowCloseAnimation(User& user, Hwnd hWnd);

}  // namespace pelluna
