// Helpers of the program's own windows: class registration (black background, arrow cursor), client size.
#pragma once

#include <cstdint>

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

void RegisterBlackWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style = 0);

// The window's client width and height in pixels (0 and 0 when the window is gone).
void ClientSizeOf(HWND window, std::int32_t& width, std::int32_t& height);

}  // namespace pelluna::win32
