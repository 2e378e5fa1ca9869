// Helpers of the program's own windows: class registration, client size, the screen's scale, pixels.
#include "windows/WindowClass.h"

#include "common/Numbers.h"
#include "windows/GdiObjects.h"

namespace pelluna::win32 {

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HBRUSH background,
                         UINT style, HICON icon) {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    if (::GetClassInfoExW(instance, name, &windowClass)) return;
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = style;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = name;
    ::RegisterClassExW(&windowClass);
}

void ClientSizeOf(HWND window, std::int32_t& width, std::int32_t& height) {
    RECT client{};
    ::GetClientRect(window, &client);
    width = client.right - client.left;
    height = client.bottom - client.top;
}

int ScreenDotsPerInch(int axis) {
    const WindowDC screen(nullptr);
    return ::GetDeviceCaps(screen.dc(), axis);
}

double ScreenTwipsPerPixel(int axis) {
    const int dotsPerInch = ScreenDotsPerInch(axis);
    return dotsPerInch > 0 ? 1440.0 / dotsPerInch : 15.0;
}

std::int32_t Rounded(double value) {
    return numbers::RoundToInt32(value).value_or(0);
}

}  // namespace pelluna::win32
