// The real Command button: a child window that shows the face image the portable Command paints, draws
// the windowless caption over it, and routes mouse, capture, focus, size and timer messages to the Command.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "controls/Command.h"
#include "controls/CommandHost.h"
#include "controls/PropertyBag.h"
#include "platform/Platform.h"
#include "platform/win32/WindowsApi.h"
#include "windows/GdiObjects.h"

namespace pelluna::win32 {

class CommandButton final : public CommandHost {
  public:
    // The window class of every Command button, registered by the first button made.
    static constexpr wchar_t kClassName[] = L"PellunaCommand";

    // Creates the button as child id of parent, placed in twips (converted by twipsPerPixel, 0: the
    // system's), loads the stored values when there are any (a new instance has none), applies its size
    // and shows it. The owner calls Logic().Initialize() afterwards to start hover tracking.
    CommandButton(const Platform& platform, HINSTANCE instance, HWND parent, int id, std::int32_t left,
                  std::int32_t top, std::int32_t width, std::int32_t height, const FontObject& ambientFont,
                  const PropertyBag* stored, double twipsPerPixel = 0.0);
    ~CommandButton() override;
    CommandButton(const CommandButton&) = delete;
    CommandButton& operator=(const CommandButton&) = delete;

    Command& Logic() { return logic_; }
    HWND Window() const { return window_; }
    // Raised by the control's Click.
    std::function<void()> OnClick;

    // CommandHost
    Hwnd hWnd() override;
    Hwnd ParentHwnd() override;
    double TwipsPerPixelX() override;
    double TwipsPerPixelY() override;
    void ClientSize(std::int32_t& width, std::int32_t& height) override;
    Hdc hDC() override;
    Hdc PictureDC(CommandPicture picture) override;
    void Refresh() override;
    CommandLabel& LblMsg() override { return label_; }
    void SetFocus() override;
    void SetCapture() override;
    void ReleaseCapture() override;
    void SetTimerEnabled(bool enabled) override;
    void SetTimerInterval(std::uint32_t milliseconds) override;
    std::int16_t BackStyle() override { return backStyle_; }
    void SetBackStyle(std::int16_t style) override;
    FontObject AmbientFont() override { return ambientFont_; }
    void PropertyChanged(std::wstring_view name) override;

  private:
    // The caption: no window of its own, drawn over the face into the shown image.
    class CaptionLabel final : public CommandLabel {
      public:
        explicit CaptionLabel(CommandButton& owner) : owner_(owner) {}

        std::wstring Caption() override { return caption_; }
        void SetCaption(const std::wstring& caption) override;
        FontObject Font() override { return font_; }
        void SetFont(const FontObject& font) override;
        ColorRef ForeColor() override { return foreColor_; }
        void SetForeColor(ColorRef color) override;
        void SetEnabled(bool enabled) override;
        float Height() override { return height_; }
        void Move(float left, float top, float width) override;

        // Draws the caption into dc, centred in its place, over what is there.
        void Draw(HDC dc) const;

      private:
        CommandButton& owner_;
        std::wstring caption_ = L"Command";
        FontObject font_;
        OwnedFont hFont_;
        ColorRef foreColor_ = 0;
        bool enabled_ = true;
        float left_ = 0.0f;
        float top_ = 90.0f;
        float width_ = 1635.0f;
        float height_ = 195.0f;
    };

    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void MakeImages();
    // The shown image: the face (or, when transparent, the parent's background) with the caption on it.
    void Compose();
    void CopyToWindow();
    // Compose and copy again after the caption changed.
    void CaptionChanged();
    std::int32_t ToPixels(double twips, double twipsPerPixel) const;

    Command logic_;
    CaptionLabel label_{*this};
    HINSTANCE instance_;
    HWND parent_;
    HWND window_ = nullptr;
    BitmapDC face_;   // what the Command paints
    BitmapDC shown_;  // the face with the caption: what WM_PAINT copies
    std::int32_t imageWidth_ = 0;
    std::int32_t imageHeight_ = 0;
    std::array<BitmapDC, 6> pictures_;
    std::int16_t backStyle_ = 1;
    FontObject ambientFont_;
    double twipsPerPixel_;  // 0: the system's
    bool timerEnabled_ = false;
    std::uint32_t timerInterval_ = 100;
    bool ready_ = false;  // set up: size changes reach the Command
};

}  // namespace pelluna::win32
