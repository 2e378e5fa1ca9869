// Definitions of the music module's process-wide values.
#include "music/MusicValues.h"

namespace pelluna {

std::wstring gMciReply;
bool gCdWatchActive = false;

}  // namespace pelluna
