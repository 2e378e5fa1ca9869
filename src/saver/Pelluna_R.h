// The preview window: a still picture embedded as a child window in the host's preview box.
#pragma once

#include <cstdint>

#include "platform/Platform.h"
#include "saver/PreviewHost.h"

namespace pelluna {

class Pelluna_R {
  public:
    Pelluna_R(const Platform& platform, PreviewHost& host) : platform_(platform), host_(host) {}

    // Embeds the window in the box hHost. A handle that names no window ends the process at once.
    void SetUp(std::int32_t hHost);

  private:
    const Platform& platform_;
    PreviewHost& host_;
};

}  // namespace pelluna
