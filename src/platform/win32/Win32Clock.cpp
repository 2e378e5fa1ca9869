// winmm timer, local time and dwmapi forwards.
#include "platform/win32/Win32Ports.h"

#include "platform/win32/WindowsApi.h"

#include <dwmapi.h>

namespace pelluna::win32 {

std::uint32_t Win32Clock::timeGetTime() {
    return ::timeGetTime();
}
std::uint32_t Win32Clock::timeBeginPeriod(std::uint32_t period) {
    return ::timeBeginPeriod(period);
}
std::uint32_t Win32Clock::timeEndPeriod(std::uint32_t period) {
    return ::timeEndPeriod(period);
}

double Win32Clock::SecondsSinceMidnight() {
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    return now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
}

}  // namespace pelluna::win32

namespace pelluna::win32 {

std::int32_t Win32Clock::DwmIsCompositionEnabled(bool& enabled) {
    BOOL composing = FALSE;
    const HRESULT result = ::DwmIsCompositionEnabled(&composing);
    enabled = SUCCEEDED(result) && composing != FALSE;
    return result;
}
std::int32_t Win32Clock::DwmFlush() {
    return ::DwmFlush();
}

}  // namespace pelluna::win32
