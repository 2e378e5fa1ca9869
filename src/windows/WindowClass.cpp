// Registers the window classes of the program's own windows: black background, arrow cursor.
#include "windows/WindowClass.h"

namespace pelluna::win32 {

void RegisterBlackWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}

}  // namespace pelluna::win32
