// Conversions between the portable handle values and the real Win32 handle types.
#pragma once

#include "platform/win32/WindowsApi.h"

#include <cstdint>

namespace pelluna::win32 {

template <class WinHandle>
WinHandle ToWin(std::uintptr_t value) {
    return reinterpret_cast<WinHandle>(value);
}

template <class WinHandle>
std::uintptr_t FromWin(WinHandle handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}

}  // namespace pelluna::win32
