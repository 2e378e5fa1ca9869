// What the saver window's logic asks of its real window: placement, timers, message processing.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

enum class SaverTimer { Timer1, Timer2 };

class SaverHost {
  public:
    virtual ~SaverHost() = default;

    virtual Hwnd hWnd() = 0;
    // The window's own device context, valid for the window's life.
    virtual Hdc hDC() = 0;
    virtual void SetWindowStateNormal() = 0;
    virtual void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) = 0;
    virtual void ClientSize(std::int32_t& width, std::int32_t& height) = 0;
    virtual void Show() = 0;
    virtual void SetFocus() = 0;
    virtual void SetTimerEnabled(SaverTimer timer, bool enabled) = 0;
    virtual bool TimerEnabled(SaverTimer timer) = 0;
    // Handles every pending window message; input and timer ticks reach the handlers only here.
    virtual void DoEvents() = 0;
    virtual void Unload() = 0;
};

}  // namespace pelluna
