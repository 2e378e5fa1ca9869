// All fakes of one test, sharing one call log, handed to the logic as its Platform.
#pragma once

#include "CallLog.h"
#include "FakeClock.h"
#include "FakeGdi.h"
#include "FakeKernel.h"
#include "FakeMci.h"
#include "FakeText.h"
#include "FakeUser.h"
#include "platform/Platform.h"

namespace pelluna::testing {

struct FakePlatform {
    explicit FakePlatform(unsigned codePage = 932) : text(codePage) {
        kernel.ansiCodePage = codePage;
        user.waitClock = kernel.sleepClock = &clock.milliseconds;
    }

    CallLog log;
    FakeUser user{log};
    FakeGdi gdi{log};
    FakeKernel kernel{log};
    FakeText text;
    FakeClock clock{log};
    FakeMci mci{log};
    Platform ports{user, gdi, kernel, text, clock, mci};
};

// Puts every process-wide value back to its start-of-process state.
void ResetProcessValues();

}  // namespace pelluna::testing
