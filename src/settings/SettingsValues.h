// The process-wide settings values and the recorded result of the last Win32 or MCI call.
#pragma once

#include <cstdint>
#include <string>

namespace pelluna {

extern std::int32_t gDropsCount;
// The drops count as the file wrote it when that was no whole number (gDropsCount rounds it), blanks around
// it left off; empty otherwise. The settings dialog writes an untouched count back as it was.
extern std::wstring gDropsCountText;
extern float gRippleSpeed;
extern float gRippleSize;
extern float gFallSpeed;
extern float gFallAngle;
extern std::int16_t gBgmKind;         // 0 none, 1 audio CD, 2 music file
extern std::int16_t gBgmRepeatTrack;  // CD track to repeat, 0 none
extern std::wstring gBgmFile;

extern std::int32_t gApiResult;

namespace bgm_kind {
constexpr std::int16_t None = 0;
constexpr std::int16_t AudioCd = 1;
constexpr std::int16_t MusicFile = 2;
}  // namespace bgm_kind

}  // namespace pelluna
