// Recording fake of the winmm sound port: command strings recorded, answers taken from a script.
#pragma once

#include <deque>
#include <map>

#include "CallLog.h"
#include "platform/Mci.h"

namespace pelluna::testing {

class FakeMci final : public Mci {
  public:
    explicit FakeMci(CallLog& log) : log_(log) {}

    // How a successful answer reaches the reply buffer: NUL-terminated and cut to fit, as the system
    // does; filling the whole buffer without a NUL, as a misbehaving device might; or not at all.
    enum class Write { Terminated, Unterminated, Nothing };
    struct Answer {
        std::uint32_t result = 0;
        std::string reply;
        Write write = Write::Terminated;
    };
    // Answers by exact command; a command without one succeeds with an empty reply.
    std::map<std::string, std::deque<Answer>> script;
    std::map<std::uint32_t, std::string> errorTexts;  // codes that mciGetErrorStringA can describe
    std::uint32_t waveDevices = 2;
    bool playSoundResult = true;

    std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                 Hwnd hwndCallback) override;
    bool mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) override;
    std::uint32_t waveOutGetNumDevs() override;
    bool PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) override;

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
