// The settings dialog on a monitor of another scale: made as settings mode makes it, the system scales it;
// and every language's texts fit their places, and its painted parts grow with it, at the usual scales and
// message fonts.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <utility>

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

// Wine's message font for one scope (height 0), or a face wider than it as Windows' own is, at that
// height (at 96 dpi), as a user's choice of text size sets it.
class MessageFont {
  public:
    explicit MessageFont(LONG height) {
        saved_.cbSize = sizeof saved_;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        NONCLIENTMETRICSW metrics = saved_;
        if (height != 0) {
            std::wstring_view(L"DejaVu Sans").copy(metrics.lfMessageFont.lfFaceName, LF_FACESIZE - 1);
            metrics.lfMessageFont.lfHeight = height;
        }
        ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    ~MessageFont() { ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0); }

  private:
    NONCLIENTMETRICSW saved_{};
};

// The top and bottom (past the last) row of the pixels that pass wanted in a box of a surface as the dialog
// paints it.
std::pair<int, int> InkRows(win32::SettingsDialog& window, DialogControl surface, RECT box,
                            bool (*wanted)(COLORREF)) {
    const HDC dc = ::CreateCompatibleDC(nullptr);
    const HBITMAP bitmap = ::CreateBitmap(box.right, box.bottom, 1, 32, nullptr);
    const HGDIOBJ previous = ::SelectObject(dc, bitmap);
    window.PaintSurface(surface, dc);
    std::pair rows{INT_MAX, 0};
    for (int y = box.top; y < box.bottom; ++y) {
        for (int x = box.left; x < box.right; ++x) {
            if (wanted(::GetPixel(dc, x, y))) rows = {std::min(rows.first, y), y + 1};
        }
    }
    ::SelectObject(dc, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return rows;
}

// Wine's message font (0) at each scale, and a wider face at 100, 125 and 150 % (heights at 96 dpi).
constexpr std::pair<int, LONG> kScalesAndFonts[] = {{96, 0},   {120, 0},  {144, 0},  {168, 0},  {192, 0},
                                                    {96, -12}, {96, -15}, {96, -18}, {192, -18}};

// Each text measured in the dialog's own font against the room the dialog gives it, at the usual scales
// with Wine's message font, and with a wider one (as Windows' own is) at 100, 125 and 150 %: the dialog grows
// with a font that needs it. A Command keeps a 4-pixel band on each side, a label may not reach the next
// control on its row, and the glyphs of a text that does not size itself keep within its height. The selected
// music-kind square grows with the dialog and stands on the middle of its name's row.
TEST(SettingsDpiWin, EveryLanguagesTextsFitAndThePaintedPartsGrowWithTheDialogAt96To192Dpi) {
    win32::Win32Platform platform;
    const HDC dc = ::CreateCompatibleDC(nullptr);
    for (const UiLanguage language : {UiLanguage::Japanese, UiLanguage::English}) {
        const UiTexts& texts = TextsFor(language);
        for (const auto& [dpi, fontHeight] : kScalesAndFonts) {
            const MessageFont messageFont(fontHeight);
            win32::SettingsDialog window(::GetModuleHandleW(nullptr), platform.Ports(), texts, dpi);
            std::int32_t clientWidth = 0, clientHeight = 0;
            window.ClientSize(DialogControl::Form, clientWidth, clientHeight);
            const double pixelsPerTwip = clientWidth / static_cast<double>(kDialogClientWidth);
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
                const int bands = entry.kind == ControlKind::Command ? 2 * kCommandBand : 0;
                // A label that sizes itself grows to its text's height; in the others the glyphs keep within
                // it.
                const bool fitsHeight =
                    (entry.style & text_style::AutoSize) || glyphHeight <= entry.height * pixelsPerTwip + 0.5;
                EXPECT_TRUE(extent.cx <= (TextRoom(entry) - bands) * pixelsPerTwip && fitsHeight)
                    << static_cast<int>(language) << " " << dpi << " dpi, font " << fontHeight << ": control "
                    << static_cast<int>(entry.control);
            }
            ::SelectObject(dc, previous);
            ::DeleteObject(font);

            window.SetPicture(DialogControl::Img_BGM2, IndicatorPicture::Selected);
            const auto pixels = [&](LONG twips) { return static_cast<LONG>(twips * pixelsPerTwip); };
            const auto square = InkRows(window, DialogControl::Pic_C0, {0, 0, pixels(1440), pixels(1440)},
                                        [](COLORREF c) { return GetBValue(c) > 180 && GetRValue(c) < 80; });
            const auto name =
                InkRows(window, DialogControl::Pic_C0,
                        {pixels(540), pixels(1100), pixels(1440), pixels(1440)}, [](COLORREF c) {
                            return std::max({GetRValue(c), GetGValue(c), GetBValue(c)}) < 80;
                        });
            // Its blue inside is 10 of its 12 pixels at 96 dpi; the name's ink may sit a little off its box's
            // middle.
            EXPECT_NEAR(square.second - square.first, 10 * kIndicatorSide / 12 * pixelsPerTwip, 1.0) << dpi;
            EXPECT_NEAR(square.first + square.second, name.first + name.second,
                        std::max(3.0, glyphHeight / 4.0))
                << static_cast<int>(language) << " " << dpi << " dpi, font " << fontHeight;
        }
    }
    ::DeleteDC(dc);
}

}  // namespace
}  // namespace pelluna
