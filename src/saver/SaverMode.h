// What start-up and the saver share of saver mode: the saver window's title, by which another start finds
// it, and what the mode changes on the system and puts back at its end (the cursor, the system keys).
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Platform.h"

namespace pelluna {

inline constexpr std::wstring_view kSaverWindowTitle = L"Pelluna_Main";

// What ShowCursor returned when saver mode hid the cursor; handed back at the end of the run.
extern std::int32_t gCursorCount;

// bEnable is a 16-bit boolean (true = -1): false tells the system a screen saver is running.
void EnableSystemKeys(User& user, std::int16_t bEnable);

}  // namespace pelluna
