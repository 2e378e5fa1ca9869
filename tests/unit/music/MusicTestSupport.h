// Shared set-up of the music module's unit tests: a fake MCI answering from a script, the log lines to
// expect.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "CallLog.h"
#include "FakeMci.h"
#include "FakePlatform.h"
#include "FakeText.h"
#include "music/Pelluna_BGM.h"

namespace pelluna::testing {

// A send whose reply is not wanted: no buffer, length 0, no callback window.
inline std::string Direct(std::string_view ansiCommand) {
    return Call("mciSendStringA", Quote(ansiCommand), "null", 0, 0);
}
// A send with a reply buffer of the given length.
inline std::string WithReply(std::string_view ansiCommand, int length) {
    return Call("mciSendStringA", Quote(ansiCommand), "ptr", length, 0);
}
inline std::string ErrorText(std::uint32_t code) {
    return Call("mciGetErrorStringA", code, 256);
}

class MusicTest : public ::testing::Test {
  protected:
    explicit MusicTest(unsigned codePage = 932) : text(codePage) {}
    void SetUp() override { ResetProcessValues(); }

    void Answer(const std::string& command, std::uint32_t result, std::string reply = {},
                FakeMci::Write write = FakeMci::Write::Terminated) {
        mci.script[command].push_back(FakeMci::Answer{result, std::move(reply), write});
    }
    const std::vector<std::string>& Calls() const { return log.Calls(); }

    CallLog log;
    FakeMci mci{log};
    FakeText text;
    Pelluna_BGM bgm{mci, text};
};

}  // namespace pelluna::testing
