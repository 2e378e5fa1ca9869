// The set of ports one process runs with: real adapters in the program, recording fakes in tests.
#pragma once

#include "platform/Clock.h"
#include "platform/Gdi.h"
#include "platform/Kernel.h"
#include "platform/Mci.h"
#include "platform/Text.h"
#include "platform/User.h"

namespace pelluna {

struct Platform {
    User& user;
    Gdi& gdi;
    Kernel& kernel;
    Text& text;
    Clock& clock;
    Mci& mci;
};

}  // namespace pelluna
