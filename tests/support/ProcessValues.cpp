// Puts every process-wide value back to its start-of-process state between tests.
#include "FakePlatform.h"
#include "music/MusicValues.h"
#include "saver/SaverMode.h"
#include "settings/SettingsValues.h"
#include "settings/WindowAnimation.h"

namespace pelluna::testing {

void ResetProcessValues() {
    gDropsCount = 0;
    gDropsCountText.clear();
    gRippleSpeed = 0.0f;
    gRippleSize = 0.0f;
    gFallSpeed = 0.0f;
    gFallAngle = 0.0f;
    gBgmKind = 0;
    gBgmRepeatTrack = 0;
    gBgmFile.clear();
    gApiResult = 0;
    gCursorCount = 0;
    gCursorX = 0;
    gCursorY = 0;
    gMciReply.clear();
    gCdWatchActive = false;
}

}  // namespace pelluna::testing
