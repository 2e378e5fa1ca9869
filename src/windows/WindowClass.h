// Helpers of the program's own windows: class registration, client size, the screen's scale, pixels.
#pragma once

#include <cstdint>

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

// Registers a window class with the arrow cursor, unless one of that name is registered already.
void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure,
                         HBRUSH background = nullptr, UINT style = 0, HICON icon = nullptr);

// The window's client width and height in pixels (0 and 0 when the window is gone).
void ClientSizeOf(HWND window, std::int32_t& width, std::int32_t& height);

// The screen's dots per inch along an axis (LOGPIXELSX or LOGPIXELSY); 0 when it cannot be read.
int ScreenDotsPerInch(int axis);
// The screen's twips per pixel along an axis; 15 when it cannot be read.
double ScreenTwipsPerPixel(int axis);

// The nearest whole number, a half going to the even one; 0 for what no pixel count holds.
std::int32_t Rounded(double value);

}  // namespace pelluna::win32
