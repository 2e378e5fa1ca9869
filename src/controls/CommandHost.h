// What the Command button's logic asks of its real window: size and scale, the face image and the state
// pictures, the caption label, focus and capture, the hover timer, the background style and the host's
// property store.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "controls/FontObject.h"
#include "platform/types.h"

namespace pelluna {

// The six state pictures, each 64 x 25 pixels; only their outer 4-pixel band is ever drawn.
enum class CommandPicture : std::uint8_t { Normal, HighLight, Pressed, Selected, HighLightSelect, Disable };

// The caption label LblMsg: windowless, it keeps the caption's text, font and colour and draws them over
// the face. Places are in twips.
class CommandLabel {
  public:
    virtual ~CommandLabel() = default;

    virtual std::wstring Caption() = 0;
    virtual void SetCaption(const std::wstring& caption) = 0;
    virtual FontObject Font() = 0;
    virtual void SetFont(const FontObject& font) = 0;
    virtual ColorRef ForeColor() = 0;
    virtual void SetForeColor(ColorRef color) = 0;
    // A disabled label shows its caption in the system's disabled-text look.
    virtual void SetEnabled(bool enabled) = 0;
    virtual float Height() = 0;
    // Moves the label; its height stays.
    virtual void Move(float left, float top, float width) = 0;
};

class CommandHost {
  public:
    virtual ~CommandHost() = default;

    // The control's own window and its parent's; both may change over the control's life.
    virtual Hwnd hWnd() = 0;
    virtual Hwnd ParentHwnd() = 0;
    // Twips per pixel as the system reports them (15 at 96 dots per inch).
    virtual double TwipsPerPixelX() = 0;
    virtual double TwipsPerPixelY() = 0;
    // The control's size in pixels.
    virtual void ClientSize(std::int32_t& width, std::int32_t& height) = 0;
    // The persistent image of the face, as large as the control; painting goes here.
    virtual Hdc hDC() = 0;
    // A device context holding the state picture.
    virtual Hdc PictureDC(CommandPicture picture) = 0;
    // Copies the face image to the window.
    virtual void Refresh() = 0;
    virtual CommandLabel& LblMsg() = 0;
    // The input focus and the mouse capture for the control's window. SetFocus and SetCapture do nothing
    // when the window already has them; ReleaseCapture only lets go of a capture the window holds. Losing
    // the capture, also by ReleaseCapture, reaches the control at once through Command::CaptureLost.
    virtual void SetFocus() = 0;
    virtual void SetCapture() = 0;
    virtual void ReleaseCapture() = 0;
    // The hover timer TmrMouse.
    virtual void SetTimerEnabled(bool enabled) = 0;
    virtual void SetTimerInterval(std::uint32_t milliseconds) = 0;
    // 1 shows the painted face (opaque), 0 shows only the caption (transparent).
    virtual std::int16_t BackStyle() = 0;
    virtual void SetBackStyle(std::int16_t style) = 0;
    // The font the host offers its controls by default.
    virtual FontObject AmbientFont() = 0;
    // Tells the host that a stored property has a new value, so that it saves the properties again.
    virtual void PropertyChanged(std::wstring_view name) = 0;
};

}  // namespace pelluna
