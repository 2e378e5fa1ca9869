// Test helper: prints, in UTF-8, the text of the top-level window titled as its argument and then of each of
// its child windows, one a line, as a screen reader finds them by name.
#include <windows.h>

#include <cstdio>

static BOOL CALLBACK PrintText(HWND window, LPARAM) {
    wchar_t text[512] = {};
    char utf8[2048] = {};
    const int length = GetWindowTextW(window, text, 512);
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8 - 1, nullptr, nullptr);
    std::printf("%s\n", utf8);
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    HWND window = FindWindowW(nullptr, argc > 1 ? argv[1] : L"");
    if (window == nullptr) return 1;
    PrintText(window, 0);
    EnumChildWindows(window, PrintText, 0);
    std::fflush(stdout);
    return 0;
}
