// Fuzz target: the CD watch and track jumps fed the MCI device's replies, as the saver drives them.
//
// Input lines:
//   repeat N          the CD track to repeat (0: none)
//   watch | prev | next
//                     a Timer2 tick (only while the watch is on), the Left or Right arrow key
//   =RESULT:TEXT      the answer to the next command: its result and, on success, the reply written
//                     with its NUL; on failure TEXT is the error text the system knows (empty: none)
//   ~RESULT:TEXT      the same, the reply repeated to fill the whole buffer without a NUL
//   !RESULT           the same, nothing written to the buffer
// The commands take the answers in order, whatever lines stand between them; then they succeed silently.
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "common/Numbers.h"
#include "common/TextRules.h"
#include "music/MusicValues.h"
#include "music/Pelluna_BGM.h"
#include "settings/SettingsValues.h"

namespace pelluna::fuzz {
namespace {

using testing::FakeMci;

struct Answer {
    FakeMci::Answer answer;
    std::string errorText;
};

// One command as the device saw it, and what it left in the reply buffer.
struct Sent {
    std::string command;
    std::uint32_t result;
    bool withBuffer;
    std::uint32_t length;
    std::string delivered;  // the buffer up to its first NUL, or all of it
};

// The fake device, answering each command with the input's next answer and keeping what was sent.
class ScriptedMci final : public Mci {
  public:
    explicit ScriptedMci(FakeMci& fake) : fake_(fake) {}

    std::deque<Answer> answers;
    std::vector<Sent> sent;

    std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                 Hwnd hwndCallback) override {
        Require(hwndCallback == 0, "commands are sent in their waiting form");
        Answer next;
        if (!answers.empty()) {
            next = answers.front();
            answers.pop_front();
        }
        fake_.script[command] = {next.answer};
        fake_.errorTexts.erase(next.answer.result);
        if (!next.errorText.empty()) fake_.errorTexts[next.answer.result] = next.errorText;
        const std::uint32_t result = fake_.mciSendStringA(command, returnString, returnLength, hwndCallback);
        std::string delivered;
        if (returnString != nullptr) {
            const std::string_view buffer(returnString, returnLength);
            delivered = std::string(buffer.substr(0, buffer.find('\0')));
        }
        sent.push_back(Sent{command, result, returnString != nullptr, returnLength, delivered});
        return result;
    }
    bool mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) override {
        return fake_.mciGetErrorStringA(error, text, length);
    }
    std::uint32_t waveOutGetNumDevs() override { return fake_.waveOutGetNumDevs(); }
    bool PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) override {
        return fake_.PlaySoundA(sound, hModule, flags);
    }

  private:
    FakeMci& fake_;
};

Answer ParseAnswer(std::string_view line) {
    Answer answer;
    answer.answer.write = line.front() == '='   ? FakeMci::Write::Terminated
                          : line.front() == '~' ? FakeMci::Write::Unterminated
                                                : FakeMci::Write::Nothing;
    line.remove_prefix(1);
    const std::size_t colon = line.find(':');
    answer.answer.result = IntegerIn<std::uint32_t>(line.substr(0, colon));
    const std::string_view text =
        colon == std::string_view::npos ? std::string_view() : line.substr(colon + 1);
    (answer.answer.result == 0 ? answer.answer.reply : answer.errorText) = std::string(text);
    return answer;
}

// Checks one command: its text and whether it asks for a reply, and with what buffer.
void RequireSent(const Sent& sent, const std::string& command, std::uint32_t length) {
    Require(sent.command == command, "the expected command");
    Require(sent.withBuffer == (length != 0) && sent.length == length, "the reply buffer of the command");
}

// What a query hands back: the reply, or "Error:" and the code.
std::wstring QueryText(testing::FakeText& text, const Sent& sent) {
    if (sent.result != 0) return L"Error:" + std::to_wstring(static_cast<std::int32_t>(sent.result));
    return text.FromAnsi(sent.delivered);
}

std::string PlayFrom(testing::FakeText& text, const std::wstring& position) {
    return position.empty() ? "play cdaudio" : "play cdaudio from " + text.ToAnsi(position);
}

void CheckWatch(testing::FakeText& text, const std::vector<Sent>& sent, const std::string& mode) {
    Require(!sent.empty(), "a watch pass asks the device");
    RequireSent(sent[0], "status cdaudio current track", Pelluna_BGM::ReplyBufferSize);
    const std::wstring current = QueryText(text, sent[0]);
    if (UpperAscii(current).find(L"ERR") != std::wstring::npos) {
        Require(sent.size() == 1 && !gCdWatchActive, "a failed current track ends the watch");
        return;
    }
    Require(sent.size() >= 2, "the pass asks for the number of tracks");
    RequireSent(sent[1], "status cdaudio number of tracks", Pelluna_BGM::ReplyBufferSize);
    if (UpperAscii(QueryText(text, sent[1])).find(L"ERR") != std::wstring::npos) {
        Require(sent.size() == 2 && !gCdWatchActive, "a failed track count ends the watch");
        return;
    }
    Require(sent.size() >= 3, "the pass asks for the mode");
    RequireSent(sent[2], "status cdaudio mode", Pelluna_BGM::CdModeBufferSize);
    const bool stopped = mode == "stopped";
    if (gBgmRepeatTrack == 0) {
        Require(gCdWatchActive, "without a repeat track the watch goes on");
        Require(sent.size() == (stopped ? 4u : 3u), "a stopped disc is played, a playing one left alone");
        if (stopped) RequireSent(sent[3], "play cdaudio", Pelluna_BGM::ReplyBufferSize);
        return;
    }
    const std::optional<double> track = numbers::ParseDecimal(current);
    if (!track) {
        Require(sent.size() == 3 && !gCdWatchActive, "a current track that is no number ends the watch");
        return;
    }
    Require(gCdWatchActive, "a readable pass keeps the watch on");
    if (*track == gBgmRepeatTrack && !stopped) {
        Require(sent.size() == 3, "the repeat track playing is left alone");
        return;
    }
    Require(sent.size() == 5, "the repeat track is looked up and played");
    RequireSent(sent[3], "status cdaudio position track " + std::to_string(gBgmRepeatTrack),
                Pelluna_BGM::ReplyBufferSize);
    RequireSent(sent[4], PlayFrom(text, QueryText(text, sent[3])), Pelluna_BGM::ReplyBufferSize);
}

void CheckJump(testing::FakeText& text, const std::vector<Sent>& sent, int step) {
    Require(sent.size() == 3, "a jump asks for the track, its position and plays");
    RequireSent(sent[0], "status cdaudio current track", Pelluna_BGM::ReplyBufferSize);
    const std::int32_t current =
        numbers::RoundToInt16(numbers::ReadLeadingNumber(QueryText(text, sent[0]))).value_or(0);
    RequireSent(sent[1], "status cdaudio position track " + std::to_string(current + step),
                Pelluna_BGM::ReplyBufferSize);
    RequireSent(sent[2], PlayFrom(text, QueryText(text, sent[1])), Pelluna_BGM::ReplyBufferSize);
}

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    testing::ResetProcessValues();
    gBgmKind = bgm_kind::AudioCd;
    testing::CallLog log;
    FakeMci fake(log);
    ScriptedMci mci(fake);
    testing::FakeText text(932);
    std::vector<std::string_view> operations;
    for (const std::string_view line : Lines(AsText(data, size))) {
        std::string_view value;
        if (Keyword(line, "repeat", value)) gBgmRepeatTrack = IntegerIn<std::int16_t>(value);
        if (!line.empty() && (line.front() == '=' || line.front() == '~' || line.front() == '!')) {
            mci.answers.push_back(ParseAnswer(line));
        }
        if (line == "watch" || line == "prev" || line == "next") operations.push_back(line);
    }

    Pelluna_BGM bgm(mci, text);
    const auto requireLastResult = [&] {
        Require(mci.sent.empty() || gApiResult == static_cast<std::int32_t>(mci.sent.back().result),
                "the last result is recorded");
    };
    bgm.OpenCdAudio();
    Require(mci.sent.size() == 2, "opening sends two commands");
    RequireSent(mci.sent[0], "open cdaudio", 0);
    RequireSent(mci.sent[1], "set cdaudio time format tmsf", 0);
    requireLastResult();

    bool watching = true;  // Timer2 runs from the start
    for (const std::string_view operation : operations) {
        mci.sent.clear();
        if (operation == "watch") {
            if (!watching) continue;
            bgm.WatchCdAudio();
            // The mode is what the buffer holds after the query: a query that wrote nothing leaves the
            // reply of an earlier pass.
            const std::string mode = mci.sent.size() >= 3 ? mci.sent[2].delivered.substr(0, 7) : "";
            CheckWatch(text, mci.sent, mode);
            watching = gCdWatchActive;
        } else if (operation == "prev") {
            bgm.PlayPreviousTrack();
            CheckJump(text, mci.sent, -1);
        } else {
            bgm.PlayNextTrack();
            CheckJump(text, mci.sent, +1);
        }
        requireLastResult();
    }
    mci.sent.clear();
    if (watching) {
        bgm.CloseCdAudio();
        Require(mci.sent.size() == 2, "closing sends two commands");
        RequireSent(mci.sent[0], "stop cdaudio", 0);
        RequireSent(mci.sent[1], "close cdaudio", 0);
        requireLastResult();
    }
    return 0;
}
