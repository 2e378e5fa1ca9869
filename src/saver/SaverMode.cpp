// What start-up and the saver share of saver mode: the cursor count and the system keys.
#include "saver/SaverMode.h"

namespace pelluna {

std::int32_t gCursorCount = 0;

void EnableSystemKeys(User& user, std::int16_t bEnable) {
    // The complement of a 16-bit boolean, widened with its sign: false (0) gives all bits set.
    const auto running = static_cast<std::uint32_t>(static_cast<std::int32_t>(~bEnable));
    user.SystemParametersInfoA(win::SPI_SETSCREENSAVERRUNNING, running, nullptr, 0);
}

}  // namespace pelluna
