// Helpers of the program's own windows: class registration (black background, arrow cursor), client size.
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

void ClientSizeOf(HWND window, std::int32_t& width, std::int32_t& height) {
    RECT client{};
    ::GetClientRect(window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

}  // namespace pelluna::win32
