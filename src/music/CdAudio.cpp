// CD audio: the cdaudio device opened and closed, a watch that keeps it playing, track jumps.
#include <algorithm>
#include <exception>
#include <string>

#include "common/Numbers.h"
#include "common/TextRules.h"
#include "music/Pelluna_BGM.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

bool LooksFailed(const std::wstring& queryText) {
    return UpperAscii(queryText).find(L"ERR") != std::wstring::npos;
}

}  // namespace

void Pelluna_BGM::OpenCdAudio() {
    gApiResult = static_cast<std::int32_t>(SendDirect("open cdaudio"));
    gApiResult = static_cast<std::int32_t>(SendDirect("set cdaudio time format tmsf"));
}

void Pelluna_BGM::WatchCdAudio() {
    gCdWatchActive = true;
    try {
        const std::wstring current = MciQuery(L"status cdaudio current track");
        if (LooksFailed(current) || LooksFailed(MciQuery(L"status cdaudio number of tracks"))) {
            gCdWatchActive = false;
            return;
        }
        gApiResult = static_cast<std::int32_t>(mci_.mciSendStringA(
            "status cdaudio mode", cdMode_.data(), static_cast<std::uint32_t>(cdMode_.size()), 0));
        // The first seven characters, never reading past the buffer when the device wrote no NUL.
        const auto modeEnd = std::find(cdMode_.begin(), cdMode_.begin() + 7, '\0');
        const bool stopped =
            std::string_view(cdMode_.data(), static_cast<std::size_t>(modeEnd - cdMode_.begin())) ==
            "stopped";

        if (gBgmRepeatTrack != 0) {
            // A current track that is no number cannot be compared: that ends the watch.
            const std::optional<double> currentTrack = numbers::ParseDecimal(current);
            if (!currentTrack) {
                gCdWatchActive = false;
                return;
            }
            if (*currentTrack != static_cast<double>(gBgmRepeatTrack) || stopped) {
                const std::wstring position =
                    MciQuery(L"status cdaudio position track " + std::to_wstring(gBgmRepeatTrack));
                MciPlay(L"cdaudio", position, L"");
            }
        } else if (stopped) {
            MciPlay(L"cdaudio", L"", L"");
        }
    } catch (const std::exception&) {
        gCdWatchActive = false;
    }
}

void Pelluna_BGM::JumpTrack(std::int32_t step) {
    // A reply without a leading number, or one beyond 16 bits, leaves the current track at 0.
    const std::int16_t current =
        numbers::RoundToInt16(numbers::ReadLeadingNumber(MciQuery(L"status cdaudio current track")))
            .value_or(0);
    // Counted in 32 bits: the track past 32767 is asked for like any other missing track.
    const std::int32_t track = static_cast<std::int32_t>(current) + step;
    const std::wstring position = MciQuery(L"status cdaudio position track " + std::to_wstring(track));
    MciPlay(L"cdaudio", position, L"");
}

void Pelluna_BGM::PlayPreviousTrack() {
    JumpTrack(-1);
}

void Pelluna_BGM::PlayNextTrack() {
    JumpTrack(+1);
}

void Pelluna_BGM::CloseCdAudio() {
    gApiResult = static_cast<std::int32_t>(SendDirect("stop cdaudio"));
    gApiResult = static_cast<std::int32_t>(SendDirect("close cdaudio"));
}

}  // namespace pelluna
