// Base-module procedures that make and free a memory device context with a bitmap of its own.
#pragma once

#include <cstdint>

#include "platform/Gdi.h"
#include "platform/User.h"

namespace pelluna {

// Makes a memory device context with an nWidth x nHeight bitmap selected into it: one bit per pixel when
// Mono, otherwise in the screen's format. The out-handles are 0 where a step failed; a memory DC made
// before a failed bitmap stays in hDC for the next DeleteMemoryDC to free.
bool CreateMemoryDC(User& user, Gdi& gdi, bool Mono, Hdc& hDC, Hgdiobj& hBitmap, Hgdiobj& hOldBitmap,
                    std::int32_t nWidth, std::int32_t nHeight);

// Puts the original bitmap back, deletes the surface's bitmap and the memory DC, and zeroes both handles.
// hOldBitmap belongs to the system and is never deleted.
void DeleteMemoryDC(Gdi& gdi, Hdc& hDC, Hgdiobj& hBitmap, Hgdiobj hOldBitmap);

}  // namespace pelluna
