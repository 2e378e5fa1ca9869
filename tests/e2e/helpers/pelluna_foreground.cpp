// Test helper: prints the title of the window that Windows counts as the foreground (active) one, in UTF-8.
// Keyboard input goes to that window's thread, whichever X window holds the X focus.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain() {
    wchar_t title[512] = L"";
    GetWindowTextW(GetForegroundWindow(), title, 512);
    const int length = WideCharToMultiByte(CP_UTF8, 0, title, -1, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, title, -1, text.data(), length, nullptr, nullptr);
    std::fputs(text.c_str(), stdout);
    return 0;
}
