// Registers the window classes of the program's own windows: black background, arrow cursor.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

void RegisterBlackWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style = 0);

}  // namespace pelluna::win32
