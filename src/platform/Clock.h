// Port over the clocks: the multimedia millisecond timer and the local time of day.
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
};

}  // namespace pelluna
