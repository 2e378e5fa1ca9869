// What the settings dialog's logic asks of its real window: placement, its controls, closing, the cursor.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "platform/types.h"
#include "settings/DialogLayout.h"

namespace pelluna {

// The two indicator pictures that the music-kind images show copies of.
enum class IndicatorPicture { Unselected, Selected };

// The mouse cursor: the default, the hourglass while the program is busy, or the pointing hand over a link.
enum class MousePointer { Default, Hourglass, PointingHand };

class DialogHost {
  public:
    virtual ~DialogHost() = default;

    virtual Hwnd hWnd() = 0;
    // The program's module instance.
    virtual Handle hInstance() = 0;

    // Sizes in twips: the screen, and the outer window with its border and title bar.
    virtual std::int32_t ScreenWidth() = 0;
    virtual std::int32_t ScreenHeight() = 0;
    virtual std::int32_t Width() = 0;
    virtual std::int32_t Height() = 0;
    // Places the outer window; left and top in twips on the screen.
    virtual void Move(std::int32_t left, std::int32_t top) = 0;

    // Command buttons: starts their hover tracking.
    virtual void Initialize(DialogControl control) = 0;
    virtual void SetEnabled(DialogControl control, bool enabled) = 0;
    // Command buttons: the pressed look while a key holds the button down, or the look of its state again.
    virtual void ShowPressed(DialogControl control, bool pressed) = 0;
    virtual void SetPicture(DialogControl control, IndicatorPicture picture) = 0;
    virtual void SetText(DialogControl control, const std::wstring& text) = 0;
    virtual std::wstring GetText(DialogControl control) = 0;
    virtual void AddItem(DialogControl control, const std::wstring& item) = 0;
    // A scroll bar refuses a value outside its range and keeps its position; the result tells.
    virtual bool SetValue(DialogControl control, std::int32_t value) = 0;
    virtual std::int32_t GetValue(DialogControl control) = 0;

    // The client size in pixels of the dialog (DialogControl::Form) or of one of its panels.
    virtual void ClientSize(DialogControl surface, std::int32_t& width, std::int32_t& height) = 0;
    // A one-pixel line into the surface's persistent image, which the system repaints from.
    virtual void Line(DialogControl surface, std::int32_t x1, std::int32_t y1, std::int32_t x2,
                      std::int32_t y2, ColorRef color) = 0;

    // The keyboard focus: the control that holds it (a part of it included), and moving it to a control.
    virtual std::optional<DialogControl> FocusedControl() = 0;
    virtual void SetFocus(DialogControl control) = 0;
    // Whether a control takes input now (a Command button by its Enabled property).
    virtual bool IsEnabled(DialogControl control) = 0;
    // Whether the track list's drop-down is open.
    virtual bool DroppedDown(DialogControl control) = 0;

    // The application-wide cursor: the default or the hourglass.
    virtual void SetMousePointer(MousePointer pointer) = 0;
    // Destroys the window; the modal display ends with it.
    virtual void Unload() = 0;
};

}  // namespace pelluna
