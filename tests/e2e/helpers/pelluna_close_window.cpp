// Test helper: asks the window with the given title to close, as another program would (WM_CLOSE).
#include <windows.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    HWND window = FindWindowW(nullptr, argv[1]);
    if (window == nullptr) {
        std::puts("no such window");
        return 1;
    }
    PostMessageW(window, WM_CLOSE, 0, 0);
    std::puts("close sent");
    return 0;
}
