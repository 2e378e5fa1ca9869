// The settings dialog on a monitor of another scale: made as settings mode makes it, the system scales it;
// and every language's texts fit their places at the usual scales.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include "platform/win32/Win32Ports.h"
#include "settings/DialogLayout.h"
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

// Each text measured in the dialog's own font against the room the layout gives it: a Command keeps a
// 4-pixel band on each side, a label may not reach the next control on its row, and the glyphs of a text that
// does not size itself keep within its height.
TEST(SettingsDpiWin, EveryLanguagesTextsFitTheirPlacesAt96To144Dpi) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const UiTexts& texts = TextsFor(language);
        for (const int dpi : {96, 120, 144}) {
            const LOGFONTW logFont = win32::DialogLogFont(texts, dpi);
            const HFONT font = ::CreateFontIndirectW(&logFont);
            const HGDIOBJ previous = ::SelectObject(dc, font);
            TEXTMETRICW metrics{};
            ::GetTextMetricsW(dc, &metrics);
            const int glyphHeight = metrics.tmHeight - metrics.tmInternalLeading;
            for (const LayoutEntry& entry : DialogLayout()) {
                const std::wstring_view text = texts.Caption(entry);
                if (text.empty() || (entry.style & text_style::Border)) continue;
                SIZE extent{};
                ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent);
                const int bands = entry.kind == ControlKind::Command ? 8 : 0;
                // A label that sizes itself grows to its text's height; in the others the glyphs keep within
                // it.
                const bool fitsHeight =
                    (entry.style & text_style::AutoSize) || glyphHeight <= ::MulDiv(entry.height, dpi, 1440);
                EXPECT_TRUE(extent.cx <= ::MulDiv(TextRoom(entry), dpi, 1440) - bands && fitsHeight)
                    << static_cast<int>(language) << " " << dpi << " dpi: control "
                    << static_cast<int>(entry.control);
            }
            ::SelectObject(dc, previous);
            ::DeleteObject(font);
        }
    }
    ::DeleteDC(dc);
}

}  // namespace
}  // namespace pelluna
