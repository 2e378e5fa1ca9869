// Test helper: shows a white window with the title given on its command line until it is closed, at
// (10, 10) or at the X and Y that follow the title. The title goes through the ANSI code page, as the
// program's own titles do.
#include <windows.h>

#include <cwchar>
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
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    RegisterClassA(&windowClass);
    const int x = argc > 3 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 10;
    const int y = argc > 3 ? static_cast<int>(std::wcstol(argv[3], nullptr, 10)) : 10;
    HWND window = CreateWindowA("PellunaTestTitleWindow", title.c_str(), WS_OVERLAPPEDWINDOW, x, y, 200, 100,
                                nullptr, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    MSG message;
    while (IsWindow(window) && GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return 0;
}
