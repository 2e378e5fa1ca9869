// Test helper: posts window messages to the window with the given title, as another program or the
// system would deliver them. Usage: pelluna_post_message TITLE MESSAGE:WPARAM:LPARAM ... (numbers in C
// notation, 0x for hexadecimal). Prints how many it posted.
#include <windows.h>

#include <cstdio>
#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        std::puts("no such window");
        return 1;
    }
    int posted = 0;
    for (int i = 2; i < argc; ++i) {
        wchar_t* rest = argv[i];
        const auto message = static_cast<UINT>(std::wcstoul(rest, &rest, 0));
        const auto wParam = static_cast<WPARAM>(*rest == L':' ? std::wcstoull(rest + 1, &rest, 0) : 0);
        const auto lParam = static_cast<LPARAM>(*rest == L':' ? std::wcstoll(rest + 1, &rest, 0) : 0);
        if (PostMessageW(window, message, wParam, lParam)) ++posted;
    }
    std::printf("posted %d\n", posted);
    return posted == argc - 2 ? 0 : 3;
}
