// The process-wide settings values: zero or empty until LoadSettings runs.
#include "settings/SettingsValues.h"

namespace pelluna {

std::int32_t gDropsCount = 0;
std::wstring gDropsCountText;
float gRippleSpeed = 0.0f;
float gRippleSize = 0.0f;
float gFallSpeed = 0.0f;
float gFallAngle = 0.0f;
std::int16_t gBgmKind = 0;
std::int16_t gBgmRepeatTrack = 0;
std::wstring gBgmFile;

std::int32_t gApiResult = 0;

}  // namespace pelluna
