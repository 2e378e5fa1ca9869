// File music against a scripted fake: the MP3 commands byte for byte, the mode check, PlaySoundA's flags.
#include <string>
#include <vector>

#include "MusicTestSupport.h"
#include "settings/SettingsValues.h"

namespace pelluna::testing {
namespace {

using Write = FakeMci::Write;
using Strings = std::vector<std::string>;

class FileMusic : public MusicTest {};

TEST_F(FileMusic, StartMp3OpensTheQuotedPathAndPlays) {
    const struct {
        std::wstring path;
        std::string ansiPath;
    } cases[] = {
        {L"C:\\Music\\rain.mp3", "C:\\Music\\rain.mp3"},
        {L"C:\\My Music\\a song.Mp3", "C:\\My Music\\a song.Mp3"},
        {L"D:\\曲\\雨 の音.mp3", "D:\\\x8B\xC8\\\x89\x4A \x82\xCC\x89\xB9.mp3"},
    };
    for (const auto& c : cases) {
        log.Clear();
        gBgmFile = c.path;
        bgm.StartMp3();
        EXPECT_EQ(Calls(), (Strings{Direct("open \"" + c.ansiPath + "\" type MPEGVideo Alias MP3Play"),
                                    Direct("play MP3Play")}));
    }
}

TEST_F(FileMusic, StartMp3StopsWhenTheOpenFails) {
    gBgmFile = L"C:\\Music\\rain.mp3";
    Answer("open \"C:\\Music\\rain.mp3\" type MPEGVideo Alias MP3Play", 277);
    gApiResult = 5;
    bgm.StartMp3();
    EXPECT_EQ(Calls(), Strings{Direct("open \"C:\\Music\\rain.mp3\" type MPEGVideo Alias MP3Play")});
    EXPECT_EQ(gApiResult, 5) << "the MP3 commands' results are not recorded";
}

// A character that the code page lacks, with no flag raised, turned into a look-alike.
class LookAlikeText final : public Text {
  public:
    int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide, int wideLength,
                            char* bytes, int byteLength, const char* defaultChar,
                            bool* usedDefault) override {
        std::wstring swapped(wide, static_cast<std::size_t>(wideLength));
        for (wchar_t& c : swapped)
            if (c == L'\u00A5') c = L'\\';
        return inner_.WideCharToMultiByte(codePage, flags, swapped.data(), wideLength, bytes, byteLength,
                                          defaultChar, usedDefault);
    }
    int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes, int byteLength,
                            wchar_t* wide, int wideLength) override {
        return inner_.MultiByteToWideChar(codePage, flags, bytes, byteLength, wide, wideLength);
    }

  private:
    FakeText inner_{932};
};

TEST_F(FileMusic, PathsThatWouldNotReachTheSystemUnchangedAreNotPlayed) {
    FakeText western(1252);
    LookAlikeText lookAlike;
    const struct {
        const char* why;
        Text& text;
        std::wstring path;
    } cases[] = {
        {"double quote", text, L"C:\\Music\\say \"hi\".mp3"},
        {"no form in 932", text, L"C:\\Music\\café.mp3"},
        {"no form in 1252", western, L"C:\\Music\\曲.mp3"},
        {"look-alike", lookAlike, L"C:\\Music\\\u00A5100.mp3"},
        {"932 best fit", text, L"C:\\Music\\\u00A5100.mp3"},
        {"NUL inside", text, std::wstring(L"C:\\a.mp3\0.wav", 14)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        log.Clear();
        gApiResult = 5;
        gBgmFile = c.path;
        Pelluna_BGM module(mci, c.text);
        module.StartMp3();
        module.StartWav();
        EXPECT_EQ(Calls(), Strings{"waveOutGetNumDevs()"});
        EXPECT_EQ(gApiResult, 5);
    }
}

TEST_F(FileMusic, Mp3PlaysInTheWesternCodePageToo) {
    FakeText western(1252);
    Pelluna_BGM module(mci, western);
    gBgmFile = L"C:\\Musik\\Regen für dich.mp3";
    module.StartMp3();
    EXPECT_EQ(Calls(),
              (Strings{Direct("open \"C:\\Musik\\Regen f\xFCr dich.mp3\" type MPEGVideo Alias MP3Play"),
                       Direct("play MP3Play")}));
}

TEST_F(FileMusic, IsMp3PlayingComparesTheFirstSevenCharacters) {
    const struct {
        std::string mode;
        Write write;
        bool expected;
    } cases[] = {
        {"playing", Write::Terminated, true},   {"playing back", Write::Terminated, true},
        {"Playing", Write::Terminated, false},  {"PLAYING", Write::Terminated, false},
        {"playin", Write::Terminated, false},   {" playing", Write::Terminated, false},
        {"paused", Write::Terminated, false},   {"stopped", Write::Terminated, false},
        {"", Write::Terminated, false},         {std::string("play\0ing", 8), Write::Terminated, false},
        {"playing", Write::Unterminated, true}, {"seeking", Write::Unterminated, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        log.Clear();
        mci.script.clear();
        Answer("status MP3Play mode", 0, c.mode, c.write);
        EXPECT_EQ(bgm.IsMp3Playing(), c.expected);
        EXPECT_EQ(Calls(), Strings{WithReply("status MP3Play mode", 30)});
    }
}

TEST_F(FileMusic, AFailingModeQueryRepeatsThePreviousAnswer) {
    EXPECT_FALSE(bgm.IsMp3Playing()) << "the mode buffer starts empty";
    Answer("status MP3Play mode", 0, "playing");
    Answer("status MP3Play mode", 263);
    EXPECT_TRUE(bgm.IsMp3Playing());
    EXPECT_TRUE(bgm.IsMp3Playing());
}

TEST_F(FileMusic, KeepMp3PlayingRestartsAnyDeviceThatDoesNotPlay) {
    const struct {
        const char* mode;
        bool restarted;
    } cases[] = {{"playing", false}, {"paused", true}, {"stopped", true}, {"not ready", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        log.Clear();
        mci.script.clear();
        Answer("status MP3Play mode", 0, c.mode);
        bgm.KeepMp3Playing();
        Strings expected{WithReply("status MP3Play mode", 30)};
        if (c.restarted) {
            expected.push_back(Direct("stop MP3Play"));
            expected.push_back(Direct("play MP3Play from 0"));
        }
        EXPECT_EQ(Calls(), expected);
    }
}

TEST_F(FileMusic, StopMp3StopsAndCloses) {
    bgm.StopMp3();
    EXPECT_EQ(Calls(), (Strings{Direct("stop MP3Play"), Direct("close MP3Play")}));
}

TEST_F(FileMusic, StartWavLoopsAsynchronouslyWhenThereIsAWaveDevice) {
    const struct {
        std::uint32_t devices;
        bool played;
        bool result;
        std::int32_t expectedApiResult;
    } cases[] = {
        {2, true, true, 1},
        {1, true, false, 0},
        {0, false, true, 5},
        // A count that reads as negative in 32 bits counts as none.
        {0xFFFFFFFFu, false, true, 5},
    };
    gBgmFile = L"C:\\曲\\rain.wav";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.devices);
        log.Clear();
        gApiResult = 5;
        mci.waveDevices = c.devices;
        mci.playSoundResult = c.result;
        bgm.StartWav();
        Strings expected{"waveOutGetNumDevs()"};
        if (c.played) expected.push_back(Call("PlaySoundA", Quote("C:\\\x8B\xC8\\rain.wav"), 0, 0x2000B));
        EXPECT_EQ(Calls(), expected);
        EXPECT_EQ(gApiResult, c.expectedApiResult);
    }
}

TEST_F(FileMusic, StopWavSilencesWhateverPlaysAndRecordsTheResult) {
    for (const bool result : {true, false}) {
        log.Clear();
        mci.playSoundResult = result;
        gApiResult = 5;
        bgm.StopWav();
        EXPECT_EQ(Calls(), Strings{Call("PlaySoundA", "null", 0, 0)});
        EXPECT_EQ(gApiResult, result ? 1 : 0);
    }
}

}  // namespace
}  // namespace pelluna::testing
