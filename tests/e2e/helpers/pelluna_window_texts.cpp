// Test helper: prints, in UTF-8, the window text of the top-level window with the title given on its command
// line and then of each of its child windows, one a line, as a screen reader would read them by name.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

void PrintText(HWND window) {
    wchar_t text[512] = {};
    const int length = GetWindowTextW(window, text, 512);
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string utf8(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8.data(), bytes, nullptr, nullptr);
    std::printf("%s\n", utf8.c_str());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const wchar_t* wideTitle = argc > 1 ? argv[1] : L"";
    const int length = WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, nullptr, 0, nullptr, nullptr);
    std::string title(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, title.data(), length, nullptr, nullptr);

    HWND window = FindWindowA(nullptr, title.c_str());
    if (window == nullptr) return 1;
    PrintText(window);
    EnumChildWindows(
        window,
        [](HWND child, LPARAM) -> BOOL {
            PrintText(child);
            return TRUE;
        },
        0);
    std::fflush(stdout);
    return 0;
}
