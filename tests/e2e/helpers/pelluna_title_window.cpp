// Test helper: shows a window with the title given on its command line until it is closed. The title
// goes through the ANSI code page, as the program's own titles do.
#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    const wchar_t* wideTitle = argc > 1 ? argv[1] : L"";
    const int length = WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, nullptr, 0, nullptr, nullptr);
    std::string title(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, title.data(), length, nullptr, nullptr);

    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = "PellunaTestTitleWindow";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowA("PellunaTestTitleWindow", title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                                100, nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
