// Port over the clocks: the multimedia millisecond timer, the local time of day, and the desktop
// compositor's frame (dwmapi).
#pragma once

#include <cstdint>

namespace pelluna {

class Clock {
  public:
    virtual ~Clock() = default;

    virtual std::uint32_t timeGetTime() = 0;
    virtual std::uint32_t timeBeginPeriod(std::uint32_t period) = 0;
    virtual std::uint32_t timeEndPeriod(std::uint32_t period) = 0;
    // Seconds since local midnight, with fractions (what seeds the random generator).
    virtual double SecondsSinceMidnight() = 0;
    // Whether the system composes the desktop (enabled stays false where it cannot tell), and the wait
    // until the compositor has shown its next frame. HRESULTs: 0 is S_OK.
    virtual std::int32_t DwmIsCompositionEnabled(bool& enabled) = 0;
    virtual std::int32_t DwmFlush() = 0;
};

}  // namespace pelluna
