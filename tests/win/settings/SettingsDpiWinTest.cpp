// The settings dialog on a monitor of another scale: made as settings mode makes it, the system scales it.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include "platform/win32/Win32Ports.h"
#include "windows/SettingsDialog.h"
#include "windows/SystemDpiScope.h"

namespace pelluna {
namespace {

TEST(SettingsDpiWin, TheDialogIsSystemAwareAndKeepsItsSizeWhenTheDpiChanges) {
    win32::Win32Platform platform;
    const win32::SystemDpiScope systemDpi;
    win32::SettingsDialog window(::GetModuleHandleW(nullptr), platform.Ports());
    const HWND dialog = reinterpret_cast<HWND>(window.hWnd());
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(::AreDpiAwarenessContextsEqual(::GetWindowDpiAwarenessContext(dialog),
                                               DPI_AWARENESS_CONTEXT_SYSTEM_AWARE));

    // What a per-monitor aware window gets when moved onto a monitor of twice the scale: a system-aware
    // one is scaled by the system and does not lay itself out again.
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

}  // namespace
}  // namespace pelluna
