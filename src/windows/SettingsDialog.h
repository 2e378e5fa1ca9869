// The real settings dialog: a fixed-border window whose two panels and controls come from the layout table,
// with the shading kept in persistent images; its messages go to the portable Pelluna_P.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

#include "platform/Platform.h"
#include "platform/win32/WindowsApi.h"
#include "settings/DialogHost.h"
#include "settings/Pelluna_P.h"
#include "settings/UiTexts.h"
#include "windows/CommandButton.h"
#include "windows/GdiObjects.h"

namespace pelluna::win32 {

// The font the dialog draws its texts in at dotsPerInch: the Japanese design font, or the system's message
// font scaled from the system's DPI.
LOGFONTW DialogLogFont(const UiTexts& texts, int dotsPerInch);

class SettingsDialog final : public DialogHost {
  public:
    // Creates the window and all its controls hidden, titled and captioned in the texts' language (the title
    // in the ANSI code page), laid out at dotsPerInch (0: the screen's). The Command buttons run on the
    // platform's ports.
    SettingsDialog(HINSTANCE instance, const Platform& platform,
                   const UiTexts& texts = TextsFor(UiLanguage::Japanese), int dotsPerInch = 0);
    ~SettingsDialog() override;
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    void Attach(Pelluna_P& logic) { logic_ = &logic; }
    // Paints a surface (the dialog or a panel) as its window shows it: the shading and the windowless
    // controls.
    void PaintSurface(DialogControl surface, HDC dc);
    // Loads the dialog, shades and shows it, and handles its messages until it has been destroyed.
    void ShowModal();

    Hwnd hWnd() override;
    Handle hInstance() override;
    std::int32_t ScreenWidth() override;
    std::int32_t ScreenHeight() override;
    std::int32_t Width() override;
    std::int32_t Height() override;
    void Move(std::int32_t left, std::int32_t top) override;
    void Initialize(DialogControl control) override;
    void SetEnabled(DialogControl control, bool New_Enabled) override;
    void ShowPressed(DialogControl control, bool pressed) override;
    void SetPicture(DialogControl control, IndicatorPicture picture) override;
    void SetText(DialogControl control, const std::wstring& text) override;
    std::wstring GetText(DialogControl control) override;
    void AddItem(DialogControl control, const std::wstring& item) override;
    bool SetValue(DialogControl control, std::int32_t value) override;
    std::int32_t GetValue(DialogControl control) override;
    void ClientSize(DialogControl surface, std::int32_t& width, std::int32_t& height) override;
    void Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2, std::int32_t y2,
              ColorRef color) override;
    std::optional<DialogControl> FocusedControl() override;
    void SetFocus(DialogControl control) override;
    bool IsEnabled(DialogControl control) override;
    bool DroppedDown(DialogControl control) override;
    void SetMousePointer(MousePointer pointer) override;
    void Unload() override;

  private:
    static constexpr std::size_t kControls = static_cast<std::size_t>(DialogControl::lbl8) + 1;

    // One control: its row of the table, its window (none for texts, outlines and images), its place in
    // pixels in its parent, and what it shows.
    struct Control {
        const LayoutEntry* entry = nullptr;
        HWND window = nullptr;
        RECT rect{};
        std::wstring text;
        std::optional<IndicatorPicture> picture;
        std::int32_t value = 0;
        bool enabled = true;
        std::unique_ptr<CommandButton> button;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    Control& At(DialogControl control) { return controls_[static_cast<std::size_t>(control)]; }
    // The window of the dialog (Form) or of a panel, and its persistent image.
    HWND WindowOf(DialogControl surface) {
        return surface == DialogControl::Form ? window_ : At(surface).window;
    }
    BitmapDC& ImageOf(DialogControl surface) {
        return images_[surface == DialogControl::Pic_C0 ? 1 : surface == DialogControl::Pic_C1 ? 2 : 0];
    }
    DialogControl SurfaceOf(HWND window) const;
    int ToPixels(std::int32_t twips) const;
    // How much the layout grows for the texts to fit in the dialog's font (LayoutGrowth).
    double Growth();
    // The work area of the monitor that holds the point, or nearest to it; the screen when none is known.
    Rect WorkArea(Point point);
    void CreateControls();
    void CreateControl(Control& control);
    void Paint(HWND window);
    // The text or image that takes clicks under a point of a surface's window.
    std::optional<DialogControl> ClickableAt(HWND window, POINT point);
    void Scrolled(HWND bar, int code);
    HCURSOR CursorFor(MousePointer pointer) const;

    HINSTANCE instance_;
    const Platform& platform_;
    const UiTexts& texts_;
    Pelluna_P* logic_ = nullptr;
    double twipsPerPixel_ = 15.0;
    int dotsPerInch_ = 96;
    HWND window_ = nullptr;
    bool destroyed_ = false;
    // A name drawn on a panel that holds the keyboard focus (a row of the music kind): the panel's window
    // takes the focus for it, and the name gets the focus rectangle.
    std::optional<DialogControl> focusedName_;
    std::array<Control, kControls> controls_;
    std::array<BitmapDC, 3> images_;  // the persistent images of Form, Pic_C0, Pic_C1
    OwnedFont font_;
    OwnedFont underlinedFont_;
    OwnedBitmap indicators_[2];  // unselected, selected
    HCURSOR pointingHand_ = nullptr;
};

}  // namespace pelluna::win32
