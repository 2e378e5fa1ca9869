// Test helper: plays the host of a preview box. It makes a 152 x 112 box inside a window, starts the saver
// with /p and the box's handle, reports where the saver's window sits, then (after SECONDS_SHOWN, or once
// the saver's window is gone) destroys the box and reports how long the saver process took to end.
// Usage: pelluna_preview_host SCR_PATH [SECONDS_SHOWN]
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

HWND FirstChild(HWND parent) {
    return GetWindow(parent, GW_CHILD);
}

void Pump(DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 2;
    const DWORD shownMs = argc > 2 ? static_cast<DWORD>(_wtoi(argv[2]) * 1000) : 3000;
    HINSTANCE instance = GetModuleHandleW(nullptr);

    HWND frame =
        CreateWindowExW(0, L"STATIC", L"Pelluna preview host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100,
                        100, 400, 300, nullptr, nullptr, instance, nullptr);
    HWND box = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 40, 50, 152, 112,
                               frame, nullptr, instance, nullptr);
    RECT boxOnScreen{};
    GetWindowRect(box, &boxOnScreen);
    std::printf("box %ld %ld %ld %ld\n", boxOnScreen.left, boxOnScreen.top, boxOnScreen.right,
                boxOnScreen.bottom);

    std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\" /p " +
                               std::to_wstring(static_cast<long long>(reinterpret_cast<INT_PTR>(box)));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::puts("saver did not start");
        return 1;
    }

    HWND child = nullptr;
    for (int i = 0; i < 1000 && child == nullptr; ++i) {
        Pump(10);
        child = FirstChild(box);
    }
    if (child == nullptr) {
        std::puts("no child window");
    } else {
        Pump(300);
        RECT childOnScreen{};
        GetWindowRect(child, &childOnScreen);
        std::printf("child %ld %ld %ld %ld visible %d\n", childOnScreen.left, childOnScreen.top,
                    childOnScreen.right, childOnScreen.bottom, IsWindowVisible(child) ? 1 : 0);
    }
    std::fflush(stdout);
    // Shown that long, or until the preview goes by itself (a setup closes it).
    for (const DWORD shown = GetTickCount(); GetTickCount() - shown < shownMs && IsWindow(child);) Pump(20);

    const DWORD destroyed = GetTickCount();
    DestroyWindow(box);
    Pump(0);
    DWORD waited = WAIT_TIMEOUT;
    while (waited == WAIT_TIMEOUT && GetTickCount() - destroyed < 10000) {
        Pump(20);
        waited = WaitForSingleObject(process.hProcess, 0);
    }
    if (waited == WAIT_OBJECT_0) {
        std::printf("ended %lu ms\n", GetTickCount() - destroyed);
    } else {
        std::puts("still running");
        TerminateProcess(process.hProcess, 1);
    }
    DestroyWindow(frame);
    return 0;
}
