// Test helper: prints where the top-level window with the title given on its command line stands on the
// screen ("window L T R B") and where its client area is ("client X Y W H"). The title goes through the
// ANSI code page, as the program's own titles do.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain(int argc, wchar_t** argv) {
    const wchar_t* wideTitle = argc > 1 ? argv[1] : L"";
    const int length = WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, nullptr, 0, nullptr, nullptr);
    std::string title(static_cast<std::size_t>(length > 0 ? length : 1), '\0');
    WideCharToMultiByte(CP_ACP, 0, wideTitle, -1, title.data(), length, nullptr, nullptr);

    HWND window = FindWindowA(nullptr, title.c_str());
    if (window == nullptr) return 1;
    RECT outer{};
    RECT client{};
    POINT origin{0, 0};
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    ClientToScreen(window, &origin);
    std::printf("window %ld %ld %ld %ld\n", outer.left, outer.top, outer.right, outer.bottom);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, client.right, client.bottom);
    std::fflush(stdout);
    return 0;
}
