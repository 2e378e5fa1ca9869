// File music: an MP3 kept playing through the MCI device MPEGVideo, a WAV looped by PlaySoundA.
#include <string>

#include "music/Pelluna_BGM.h"
#include "platform/types.h"
#include "settings/SettingsValues.h"

namespace pelluna {

std::optional<std::string> Pelluna_BGM::MusicFileAnsi() const {
    // A quote would end the quoted name inside the open command, and a NUL would cut the text short.
    if (gBgmFile.find_first_of(std::wstring_view(L"\"\0", 2)) != std::wstring::npos) return std::nullopt;
    // A character the code page lacks becomes another one (a default or a look-alike): that names another
    // file, so the music is not played rather than something else being opened.
    bool lossy = false;
    std::string ansi = text_.ToAnsi(gBgmFile, &lossy);
    if (lossy || text_.FromAnsi(ansi) != gBgmFile) return std::nullopt;
    return ansi;
}

void Pelluna_BGM::StartMp3() {
    const std::optional<std::string> path = MusicFileAnsi();
    if (!path) return;
    if (SendDirect("open \"" + *path + "\" type MPEGVideo Alias MP3Play") == 0) SendDirect("play MP3Play");
}

bool Pelluna_BGM::IsMp3Playing() {
    mci_.mciSendStringA("status MP3Play mode", mp3Mode_.data(), static_cast<std::uint32_t>(mp3Mode_.size()),
                        0);
    // Seven bytes of a 30-byte buffer: within it even when the device wrote no NUL.
    return std::string_view(mp3Mode_.data(), 7) == "playing";
}

void Pelluna_BGM::KeepMp3Playing() {
    if (IsMp3Playing()) return;
    SendDirect("stop MP3Play");
    SendDirect("play MP3Play from 0");
}

void Pelluna_BGM::StopMp3() {
    SendDirect("stop MP3Play");
    SendDirect("close MP3Play");
}

void Pelluna_BGM::StartWav() {
    if (static_cast<std::int32_t>(mci_.waveOutGetNumDevs()) <= 0) return;
    const std::optional<std::string> path = MusicFileAnsi();
    if (!path) return;
    // Named as a file, and no default sound in its place: a file that cannot be played plays nothing,
    // rather than the system's sound looping instead of the chosen music.
    constexpr std::uint32_t kFlags = win::SND_FILENAME | win::SND_NODEFAULT | win::SND_ASYNC | win::SND_LOOP;
    gApiResult = mci_.PlaySoundA(path->c_str(), 0, kFlags) ? 1 : 0;
}

void Pelluna_BGM::StopWav() {
    gApiResult = mci_.PlaySoundA(nullptr, 0, 0) ? 1 : 0;
}

}  // namespace pelluna
