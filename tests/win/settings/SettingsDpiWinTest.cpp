// The settings dialog on a monitor of another scale: made as settings mode makes it, the system scales it;
// and every language's texts fit their places at the usual scales.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <climits>
#include <string_view>
#include <utility>
#include <vector>

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

// Sets the system's message font for one scope, as a user's choice of text size would, and puts the one
// before back.
class MessageFont {
  public:
    MessageFont(const wchar_t* face, LONG heightAt96Dpi) {
        saved_.cbSize = sizeof saved_;
        ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
        NONCLIENTMETRICSW metrics = saved_;
        if (face != nullptr) {
            std::wstring_view(face).copy(metrics.lfMessageFont.lfFaceName, LF_FACESIZE - 1);
            metrics.lfMessageFont.lfHeight = heightAt96Dpi;
        }
        ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    }
    ~MessageFont() { ::SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0); }

  private:
    NONCLIENTMETRICSW saved_{};
};

// The bounding rows (top, bottom) of the pixels in a box of a painted surface that pass a test.
std::pair<int, int> InkRows(const std::vector<std::uint32_t>& pixels, int width, RECT box,
                            bool (*wanted)(std::uint32_t)) {
    int top = INT_MAX;
    int bottom = INT_MIN;
    for (int y = std::max(0L, box.top); y < box.bottom && y < static_cast<int>(pixels.size()) / width; ++y) {
        for (int x = std::max(0L, box.left); x < box.right && x < width; ++x) {
            if (wanted(pixels[static_cast<std::size_t>(y * width + x)])) {
                top = std::min(top, y);
                bottom = std::max(bottom, y + 1);
            }
        }
    }
    return {top, bottom};
}

// For each language, screen resolution and message font (Wine's own, a wider face as Windows has, text
// made 125 % and 150 % larger): each text measured in the dialog's font against the room the dialog gives
// it, which grows with the font. A Command keeps a 4-pixel band (at 96 dpi) on each side, a label may not
// reach the next control on its row, and the glyphs of a text that does not size itself keep within its
// height. Then the painted parts grow with the dialog and keep to their rows: the selected music-kind square
// and the words beside a bar stand on the middle of their row.
TEST(SettingsDpiWin, EveryLanguagesTextsFitAndThePaintedPartsGrowWithTheDialogAt96To192Dpi) {
    win32::Win32Platform platform;
    const struct {
        UiLanguage language;
        int dpi;
        const wchar_t* face;  // the message font's; null: Wine's
        LONG heightAt96Dpi;
    } rows[] = {
        {UiLanguage::Japanese, 96, nullptr, 0},         {UiLanguage::Japanese, 120, nullptr, 0},
        {UiLanguage::Japanese, 144, nullptr, 0},        {UiLanguage::Japanese, 168, nullptr, 0},
        {UiLanguage::Japanese, 192, nullptr, 0},        {UiLanguage::English, 96, nullptr, 0},
        {UiLanguage::English, 120, nullptr, 0},         {UiLanguage::English, 144, nullptr, 0},
        {UiLanguage::English, 168, nullptr, 0},         {UiLanguage::English, 192, nullptr, 0},
        {UiLanguage::English, 96, L"DejaVu Sans", -12}, {UiLanguage::English, 96, L"DejaVu Sans", -15},
        {UiLanguage::English, 96, L"DejaVu Sans", -18}, {UiLanguage::English, 192, L"DejaVu Sans", -18},
    };
    const HDC dc = ::CreateCompatibleDC(nullptr);
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << static_cast<int>(row.language) << " " << row.dpi << " dpi, font "
                                          << (row.face ? row.heightAt96Dpi : 0));
        const MessageFont messageFont(row.face, row.heightAt96Dpi);
        const UiTexts& texts = TextsFor(row.language);
        win32::SettingsDialog window(::GetModuleHandleW(nullptr), platform.Ports(), texts, row.dpi);
        std::int32_t clientWidth = 0;
        std::int32_t clientHeight = 0;
        window.ClientSize(DialogControl::Form, clientWidth, clientHeight);
        const double pixelsPerTwip = clientWidth / static_cast<double>(kDialogClientWidth);
        EXPECT_GE(pixelsPerTwip, row.dpi / 1440.0 - 0.001);

        const LOGFONTW logFont = win32::DialogLogFont(texts, row.dpi);
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
            const double bands = entry.kind == ControlKind::Command ? 2 * kCommandBand : 0;
            // A label that sizes itself grows to its text's height; in the others the glyphs keep within it.
            const bool fitsHeight =
                (entry.style & text_style::AutoSize) || glyphHeight <= entry.height * pixelsPerTwip + 0.5;
            EXPECT_TRUE(extent.cx <= (TextRoom(entry) - bands) * pixelsPerTwip && fitsHeight)
                << "control " << static_cast<int>(entry.control);
        }
        ::SelectObject(dc, previous);
        ::DeleteObject(font);

        window.SetPicture(DialogControl::Img_BGM2, IndicatorPicture::Selected);
        const auto pixel = [&](double twips) { return static_cast<int>(twips * pixelsPerTwip); };
        const auto middle = [](std::pair<int, int> rows) { return (rows.first + rows.second) / 2.0; };
        const auto painted = [&](DialogControl surface) {
            std::int32_t width = 0;
            std::int32_t height = 0;
            window.ClientSize(surface, width, height);
            BITMAPINFO info{};
            info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB};
            void* bits = nullptr;
            const HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
            const HGDIOBJ before = ::SelectObject(dc, bitmap);
            window.PaintSurface(surface, dc);
            ::GdiFlush();
            const auto* first = static_cast<const std::uint32_t*>(bits);
            std::vector<std::uint32_t> pixels(first, first + width * height);
            ::SelectObject(dc, before);
            ::DeleteObject(bitmap);
            return std::pair{pixels, static_cast<int>(width)};
        };
        const auto blue = [](std::uint32_t bgr) { return (bgr & 0xFF) > 180 && ((bgr >> 16) & 0xFF) < 80; };
        const auto dark = [](std::uint32_t bgr) {
            return (bgr & 0xFF) < 90 && ((bgr >> 8) & 0xFF) < 90 && ((bgr >> 16) & 0xFF) < 90;
        };
        // The square's blue inside is 10 of its 12 pixels at 96 dpi; it stands on the middle of its name
        // (whose ink may sit a little off its box's middle).
        const auto [music, musicWidth] = painted(DialogControl::Pic_C0);
        const auto square = InkRows(music, musicWidth, {0, 0, musicWidth, pixel(1440)}, blue);
        EXPECT_NEAR(square.second - square.first, 10 * kIndicatorSide / 12 * pixelsPerTwip, 1.0);
        const auto name =
            InkRows(music, musicWidth, {pixel(540), pixel(1100), pixel(1440), pixel(1440)}, dark);
        EXPECT_NEAR(middle(square), middle(name), std::max(1.5, glyphHeight / 8.0));
        // The words at the ends of the drops bar stand on the row of its framed caption.
        const auto [ripple, rippleWidth] = painted(DialogControl::Pic_C1);
        const auto caption =
            InkRows(ripple, rippleWidth, {pixel(300), pixel(200), pixel(1880), pixel(480)}, dark);
        for (const std::int32_t left : {2100, 4200}) {
            const auto words =
                InkRows(ripple, rippleWidth, {pixel(left), 0, pixel(left + 400), pixel(600)}, dark);
            // Their tops: capitals and ascenders reach about as high, descenders go as far as a word has.
            EXPECT_NEAR(words.first, caption.first, std::max(1.5, glyphHeight / 10.0)) << left;
        }
    }
    ::DeleteDC(dc);
}

}  // namespace
}  // namespace pelluna
