// The settings dialog on a monitor of another scale: made as settings mode makes it, the system scales it.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/Win32Ports.h"
#include "windows/SettingsDialog.h"
#include "windows/SystemDpiScope.h"

namespace pelluna {
namespace {

BOOL CALLBACK CollectChild(HWND child, LPARAM children) {
    reinterpret_cast<std::vector<HWND>*>(children)->push_back(child);
    return TRUE;
}

bool SystemAware(HWND window) {
    return ::AreDpiAwarenessContextsEqual(::GetWindowDpiAwarenessContext(window),
                                          DPI_AWARENESS_CONTEXT_SYSTEM_AWARE) != FALSE;
}

TEST(SettingsDpiWin, TheDialogAndItsControlsAreSystemAwareAndKeepTheirSizeAtAnotherDpi) {
    win32::Win32Platform platform;
    const Platform ports = platform.Ports();
    const DPI_AWARENESS_CONTEXT before = ::GetThreadDpiAwarenessContext();
    {
        const win32::SystemDpiScope systemDpi;
        win32::SettingsDialog window(::GetModuleHandleW(nullptr), ports);
        const HWND dialog = reinterpret_cast<HWND>(window.hWnd());
        ASSERT_NE(dialog, nullptr);
        EXPECT_TRUE(SystemAware(dialog));
        std::vector<HWND> children;
        ::EnumChildWindows(dialog, &CollectChild, reinterpret_cast<LPARAM>(&children));
        ASSERT_GE(children.size(), 3u);
        for (HWND child : children) EXPECT_TRUE(SystemAware(child)) << child;

        // What the system would send a per-monitor aware window moved onto a monitor of twice the scale: a
        // system-aware window is scaled by the system and does not lay itself out again.
        RECT shown{};
        ::GetWindowRect(dialog, &shown);
        RECT suggested{shown.left, shown.top, shown.left + 2 * (shown.right - shown.left),
                       shown.top + 2 * (shown.bottom - shown.top)};
        ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
        RECT after{};
        ::GetWindowRect(dialog, &after);
        EXPECT_EQ(after.right - after.left, shown.right - shown.left);
        EXPECT_EQ(after.bottom - after.top, shown.bottom - shown.top);
    }
    // The thread's own awareness is back for whatever it makes next.
    EXPECT_TRUE(::AreDpiAwarenessContextsEqual(::GetThreadDpiAwarenessContext(), before));
}

}  // namespace
}  // namespace pelluna
