// Shows Pelluna's preview in a box of the size given, all in one process (Wine draws no child window in a
// box of another process), for a picture of it: preview_box WIDTH HEIGHT. It runs until the box is closed.
#include "platform/win32/WindowsApi.h"

#include <cwchar>

#include "platform/win32/Win32Ports.h"
#include "saver/Pelluna_R.h"
#include "windows/PreviewWindow.h"

int wmain(int argc, wchar_t** argv) {
    const int width = argc > 2 ? static_cast<int>(std::wcstol(argv[1], nullptr, 10)) : 152;
    const int height = argc > 2 ? static_cast<int>(std::wcstol(argv[2], nullptr, 10)) : 112;
    HWND box =
        ::CreateWindowExW(0, L"STATIC", L"Pelluna preview box", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                          100, width, height, nullptr, nullptr, nullptr, nullptr);
    if (box == nullptr) return 1;
    pelluna::win32::Win32Platform platform;
    pelluna::win32::PreviewWindow window(::GetModuleHandleW(nullptr));
    pelluna::Pelluna_R(platform.Ports(), window)
        .SetUp(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(box)));
    // The preview posts the end of its loop when its window goes with the box.
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
