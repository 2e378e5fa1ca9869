// Port over winmm's sound services: MCI command strings, wave output devices and PlaySoundA.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

class Mci {
  public:
    virtual ~Mci() = default;

    // command is NUL-terminated ANSI; returnString may be null with returnLength 0.
    virtual std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                         Hwnd hwndCallback) = 0;
    virtual bool mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) = 0;
    virtual std::uint32_t waveOutGetNumDevs() = 0;
    // sound null stops whatever PlaySoundA plays for the process.
    virtual bool PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) = 0;
};

}  // namespace pelluna
