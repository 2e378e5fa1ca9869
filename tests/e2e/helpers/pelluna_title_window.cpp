// Test helper: shows a window with the title given on its command line until it is closed.
#include <windows.h>

#include <string>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"PellunaTestTitleWindow";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowW(L"PellunaTestTitleWindow", commandLine, WS_OVERLAPPEDWINDOW, 10, 10, 200, 100,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (IsWindow(window) && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
