// Fake clocks: a settable millisecond counter and time of day, with the timer-period calls recorded.
#pragma once

#include "CallLog.h"
#include "platform/Clock.h"

namespace pelluna::testing {

class FakeClock final : public Clock {
  public:
    explicit FakeClock(CallLog& log) : log_(log) {}

    std::uint32_t milliseconds = 0;         // what timeGetTime answers
    std::uint32_t millisecondsPerRead = 0;  // added after each timeGetTime
    double secondsSinceMidnight = 43200.0;
    bool logTimeReads = false;

    std::uint32_t timeGetTime() override {
        if (logTimeReads) log_.Add("timeGetTime()");
        const std::uint32_t now = milliseconds;
        milliseconds += millisecondsPerRead;
        return now;
    }
    std::uint32_t timeBeginPeriod(std::uint32_t period) override {
        log_.Add(Call("timeBeginPeriod", period));
        return 0;
    }
    std::uint32_t timeEndPeriod(std::uint32_t period) override {
        log_.Add(Call("timeEndPeriod", period));
        return 0;
    }
    double SecondsSinceMidnight() override { return secondsSinceMidnight; }
    std::int32_t DwmIsCompositionEnabled(bool& enabled) override { return enabled = false; }  // not composed
    std::int32_t DwmFlush() override { return 0; }

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
