// The music module: the MCI command channel, file music (MP3 and WAV) and CD audio.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "music/MusicValues.h"
#include "platform/Mci.h"
#include "platform/Text.h"

namespace pelluna {

class Pelluna_BGM {
  public:
    static constexpr std::size_t ReplyBufferSize = 512;
    static constexpr std::size_t ErrorTextBufferSize = 256;
    static constexpr std::size_t Mp3ModeBufferSize = 30;
    static constexpr std::size_t CdModeBufferSize = 255;

    Pelluna_BGM(Mci& mci, Text& text) : mci_(mci), text_(text) {}

    // MCI command channel. Code of the channel itself for an empty command.
    static constexpr std::int32_t NoCommand = -1;
    std::int32_t SendMciCommand(std::wstring_view command, std::wstring& reply);
    std::wstring MciQuery(std::wstring_view command);
    std::int32_t MciPlay(std::wstring_view device, std::wstring_view fromPos, std::wstring_view toPos);

    // File music; both starts read gBgmFile.
    void StartMp3();
    bool IsMp3Playing();
    void KeepMp3Playing();
    void StopMp3();
    void StartWav();
    void StopWav();

    // CD audio; the watch reads gBgmRepeatTrack.
    void OpenCdAudio();
    void WatchCdAudio();
    void PlayPreviousTrack();
    void PlayNextTrack();
    void CloseCdAudio();

  private:
    // A send whose reply is of no interest: no reply buffer, length 0, no callback window.
    std::uint32_t SendDirect(const std::string& ansiCommand);
    // gBgmFile in the ANSI code page, or nothing when it would not reach the system unchanged.
    std::optional<std::string> MusicFileAnsi() const;
    void JumpTrack(std::int32_t step);

    Mci& mci_;
    Text& text_;
    std::array<char, ReplyBufferSize> reply_{};
    std::array<char, ErrorTextBufferSize> errorText_{};
    std::array<char, Mp3ModeBufferSize> mp3Mode_{};
    std::array<char, CdModeBufferSize> cdMode_{};
};

}  // namespace pelluna
