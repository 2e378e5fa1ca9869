// What the preview set-up asks of its real window: loading it, the twips scale, placement and showing.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

class PreviewHost {
  public:
    virtual ~PreviewHost() = default;

    // Creates the window hidden and returns its handle.
    virtual Hwnd Load() = 0;
    // Twips per pixel as the system reports them (15 at 96 dots per inch).
    virtual double TwipsPerPixelX() = 0;
    virtual double TwipsPerPixelY() = 0;
    // The window's place in its parent's client area, in twips.
    virtual void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
    // The picture control's place in the window, in pixels.
    virtual void MoveImage(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
    virtual void Show() = 0;
};

}  // namespace pelluna
