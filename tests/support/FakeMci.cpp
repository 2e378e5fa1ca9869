// Recording fake of the winmm sound port: command strings recorded, answers taken from a script.
#include "FakeMci.h"

#include <algorithm>
#include <cstring>

namespace pelluna::testing {

std::uint32_t FakeMci::mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                      Hwnd hwndCallback) {
    log_.Add(Call("mciSendStringA", Quote(command), static_cast<const void*>(returnString), returnLength,
                  hwndCallback));
    Answer answer;
    if (auto found = script.find(command); found != script.end() && !found->second.empty()) {
        answer = found->second.front();
        if (found->second.size() > 1) found->second.pop_front();  // the last answer repeats
    }
    if (answer.result == 0 && returnString && returnLength > 0 && !answer.reply.empty() &&
        answer.write == Write::Unterminated) {
        // The reply repeated as often as needed to fill every byte of the buffer.
        for (std::uint32_t i = 0; i < returnLength; ++i)
            returnString[i] = answer.reply[i % answer.reply.size()];
    } else if (answer.result == 0 && returnString && returnLength > 0 && answer.write != Write::Nothing) {
        const std::size_t copied = std::min<std::size_t>(answer.reply.size(), returnLength - 1);
        std::memcpy(returnString, answer.reply.data(), copied);
        returnString[copied] = '\0';
    }
    return answer.result;
}

bool FakeMci::mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) {
    log_.Add(Call("mciGetErrorStringA", error, length));
    const auto found = errorTexts.find(error);
    if (found == errorTexts.end() || length == 0) return false;
    const std::size_t copied = std::min<std::size_t>(found->second.size(), length - 1);
    std::memcpy(text, found->second.data(), copied);
    text[copied] = '\0';
    return true;
}

std::uint32_t FakeMci::waveOutGetNumDevs() {
    log_.Add("waveOutGetNumDevs()");
    return waveDevices;
}

bool FakeMci::PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) {
    log_.Add(Call("PlaySoundA", Quote(sound), hModule, flags));
    return playSoundResult;
}

}  // namespace pelluna::testing
