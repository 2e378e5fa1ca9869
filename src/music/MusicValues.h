// Process-wide values of the music module: the last MCI reply and whether the CD watch still runs.
#pragma once

#include <string>

namespace pelluna {

extern std::wstring gMciReply;  // reply or error text of the last query or play command
extern bool gCdWatchActive;     // false at process start; cleared for good by a failed watch pass

}  // namespace pelluna
