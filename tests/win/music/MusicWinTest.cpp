// The music module against real MCI and PlaySoundA under Wine, with audio made by sox and lame at test time.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "music/Pelluna_BGM.h"
#include "platform/win32/Win32Ports.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using namespace std::chrono_literals;

// Forwards to the real winmm and keeps the commands and sounds that reach it.
class RecordingMci final : public Mci {
  public:
    std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                 Hwnd hwndCallback) override {
        sent.emplace_back(command);
        return real_.mciSendStringA(command, returnString, returnLength, hwndCallback);
    }
    bool mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) override {
        return real_.mciGetErrorStringA(error, text, length);
    }
    std::uint32_t waveOutGetNumDevs() override { return real_.waveOutGetNumDevs(); }
    bool PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) override {
        sounds.push_back((sound ? std::string(sound) : std::string("(null)")) + " " + std::to_string(flags));
        return real_.PlaySoundA(sound, hModule, flags);
    }

    std::vector<std::string> sent;
    std::vector<std::string> sounds;

  private:
    win32::Win32Mci real_;
};

std::wstring ExeFolder() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// The audio that the music.audio fixture made next to the test program.
std::wstring TestAudio(const wchar_t* name) {
    return ExeFolder() + L"\\music-audio\\" + name;
}

bool EnvironmentHas(const char* name) {
    const char* value = std::getenv(name);
    return value && *value;
}

class MusicWin : public ::testing::Test {
  protected:
    void SetUp() override {
        gBgmFile.clear();
        gApiResult = 0;
        gMciReply.clear();
        gCdWatchActive = false;
    }
    void TearDown() override { real.mciSendStringA("close all", nullptr, 0, 0); }

    // Sent past the module, for the test's own questions to the device.
    std::uint32_t Ask(const char* command, std::string* reply = nullptr) {
        char buffer[256] = {};
        const std::uint32_t result = real.mciSendStringA(command, buffer, sizeof buffer, 0);
        if (reply) *reply = buffer;
        return result;
    }
    std::string OpenDevices() {
        std::string count;
        EXPECT_EQ(Ask("sysinfo all quantity open", &count), 0u);
        return count;
    }

    RecordingMci mci;
    win32::Win32Mci real;
    win32::Win32Text text;
    Pelluna_BGM bgm{mci, text};
};

class MusicFileWin : public MusicWin {
  protected:
    void SetUp() override {
        MusicWin::SetUp();
        ASSERT_EQ(::GetFileAttributesW(TestAudio(L"tone.mp3").c_str()) != INVALID_FILE_ATTRIBUTES, true)
            << "made by the music.audio fixture";
        ASSERT_GT(real.waveOutGetNumDevs(), 0u) << "needs the PulseAudio null sink of tools/testenv";
    }
};

TEST_F(MusicFileWin, StartMp3PlaysAndKeepMp3PlayingRestartsItFromTheBeginning) {
    gBgmFile = TestAudio(L"tone.mp3");
    const std::string ansiPath = text.ToAnsi(gBgmFile);
    bgm.StartMp3();
    ASSERT_EQ(mci.sent, (std::vector<std::string>{"open \"" + ansiPath + "\" type MPEGVideo Alias MP3Play",
                                                  "play MP3Play"}));
    EXPECT_TRUE(bgm.IsMp3Playing());
    std::string mode;
    EXPECT_EQ(Ask("status MP3Play mode", &mode), 0u);
    EXPECT_EQ(mode, "playing");

    // Let it run on, so that a restart from the beginning shows in the position.
    std::this_thread::sleep_for(1200ms);
    std::string position;
    ASSERT_EQ(Ask("status MP3Play position", &position), 0u);
    EXPECT_GT(std::atoi(position.c_str()), 700) << position;

    ASSERT_EQ(Ask("stop MP3Play"), 0u);
    EXPECT_FALSE(bgm.IsMp3Playing());
    mci.sent.clear();
    bgm.KeepMp3Playing();
    EXPECT_EQ(mci.sent,
              (std::vector<std::string>{"status MP3Play mode", "stop MP3Play", "play MP3Play from 0"}));
    EXPECT_TRUE(bgm.IsMp3Playing());
    ASSERT_EQ(Ask("status MP3Play position", &position), 0u);
    EXPECT_LT(std::atoi(position.c_str()), 700) << position;

    // A device that plays is left alone.
    mci.sent.clear();
    bgm.KeepMp3Playing();
    EXPECT_EQ(mci.sent, std::vector<std::string>{"status MP3Play mode"});

    bgm.StopMp3();
    EXPECT_EQ(OpenDevices(), "0");
    EXPECT_NE(Ask("status MP3Play mode"), 0u) << "MP3Play is gone";
}

TEST_F(MusicFileWin, PausingFromOutsideDoesNotHold) {
    gBgmFile = TestAudio(L"tone.mp3");
    bgm.StartMp3();
    ASSERT_TRUE(bgm.IsMp3Playing());
    ASSERT_EQ(Ask("pause MP3Play"), 0u);
    std::string mode;
    Ask("status MP3Play mode", &mode);
    EXPECT_EQ(mode, "paused");
    bgm.KeepMp3Playing();
    EXPECT_TRUE(bgm.IsMp3Playing());
    bgm.StopMp3();
    EXPECT_EQ(OpenDevices(), "0");
}

TEST_F(MusicFileWin, PathsWithBlanksAndJapaneseCharactersPlay) {
    ASSERT_EQ(::GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring root =
        std::wstring(temp) + L"pelluna-music-" + std::to_wstring(::GetCurrentProcessId());
    const struct {
        const wchar_t* folder;
        const wchar_t* file;
    } cases[] = {
        {L"with blanks", L"rain  drops.mp3"},
        {L"曲", L"雨の音.mp3"},
        {L"曲 フォルダ", L"雨 音 ソ.Mp3"},  // ソ's second byte is a backslash in code page 932
    };
    ::CreateDirectoryW(root.c_str(), nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(text.ToAnsi(c.file));
        const std::wstring folder = root + L"\\" + c.folder;
        const std::wstring path = folder + L"\\" + c.file;
        ::CreateDirectoryW(folder.c_str(), nullptr);
        ASSERT_TRUE(::CopyFileW(TestAudio(L"tone.mp3").c_str(), path.c_str(), FALSE));
        gBgmFile = path;
        mci.sent.clear();
        bgm.StartMp3();
        ASSERT_EQ(mci.sent.size(), 2u) << "the open failed";
        EXPECT_EQ(mci.sent[0], "open \"" + text.ToAnsi(path) + "\" type MPEGVideo Alias MP3Play");
        EXPECT_TRUE(bgm.IsMp3Playing());
        bgm.StopMp3();
        EXPECT_EQ(OpenDevices(), "0");
        ::DeleteFileW(path.c_str());
        ::RemoveDirectoryW(folder.c_str());
    }
    ::RemoveDirectoryW(root.c_str());
}

TEST_F(MusicFileWin, APathOutsideTheCodePageIsNotPlayed) {
    ASSERT_EQ(::GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    for (const wchar_t* name : {L"caf\u00E9.mp3", L"\u00A5100.mp3", L"\u266B.mp3"}) {
        gBgmFile = ExeFolder() + L"\\music-audio\\" + name;
        mci.sent.clear();
        mci.sounds.clear();
        bgm.StartMp3();
        bgm.StartWav();
        EXPECT_TRUE(mci.sent.empty()) << mci.sent.front();
        EXPECT_TRUE(mci.sounds.empty());
        EXPECT_EQ(OpenDevices(), "0");
    }
}

// Runs twice: among the other tests with the null sink, and from music.no_audio_server with
// PELLUNA_NO_AUDIO_SERVER set and PulseAudio out of reach.
TEST_F(MusicWin, WavLoopsOnlyWhenThereIsAWaveDevice) {
    const bool noServer = EnvironmentHas("PELLUNA_NO_AUDIO_SERVER");
    gBgmFile = TestAudio(L"tone.wav");
    ASSERT_NE(::GetFileAttributesW(gBgmFile.c_str()), INVALID_FILE_ATTRIBUTES) << "made by music.audio";
    gApiResult = 5;
    bgm.StartWav();
    if (noServer) {
        EXPECT_EQ(real.waveOutGetNumDevs(), 0u);
        EXPECT_TRUE(mci.sounds.empty());
        EXPECT_EQ(gApiResult, 5);
        return;
    }
    ASSERT_GT(real.waveOutGetNumDevs(), 0u);
    EXPECT_EQ(mci.sounds, std::vector<std::string>{text.ToAnsi(gBgmFile) + " 131083"});
    EXPECT_EQ(gApiResult, 1);

    // music.wav_stream watches the PulseAudio streams meanwhile, and answers through files in this folder.
    if (const char* folder = std::getenv("PELLUNA_STREAM_CHECK_DIR"); folder && *folder) {
        const auto signal = [&](const char* name) {
            ::CloseHandle(::CreateFileA((std::string(folder) + "\\" + name).c_str(), GENERIC_WRITE, 0,
                                        nullptr, CREATE_ALWAYS, 0, nullptr));
        };
        const auto awaited = [&](const char* name) {
            for (int i = 0; i < 100; ++i) {
                if (::GetFileAttributesA((std::string(folder) + "\\" + name).c_str()) !=
                    INVALID_FILE_ATTRIBUTES)
                    return true;
                std::this_thread::sleep_for(100ms);
            }
            return false;
        };
        signal("started");
        EXPECT_TRUE(awaited("stream-seen")) << "no PulseAudio stream from this process while the WAV loops";
        bgm.StopWav();
        EXPECT_EQ(gApiResult, 1);
        signal("stopped");
        EXPECT_TRUE(awaited("stream-gone")) << "the stream outlived StopWav";
        return;
    }
    std::this_thread::sleep_for(300ms);
    gApiResult = 5;
    bgm.StopWav();
    EXPECT_EQ(gApiResult, 1);
    EXPECT_EQ(mci.sounds.back(), "(null) 0");
}

TEST_F(MusicWin, Mp3OpenFailsQuietlyWithoutAWaveDevice) {
    gBgmFile = TestAudio(L"tone.mp3");
    if (!EnvironmentHas("PELLUNA_NO_AUDIO_SERVER")) {
        ASSERT_GT(real.waveOutGetNumDevs(), 0u);
        bgm.StartMp3();
        EXPECT_EQ(mci.sent.size(), 2u);
        bgm.StopMp3();
        return;
    }
    EXPECT_EQ(real.waveOutGetNumDevs(), 0u);
    bgm.StartMp3();
    EXPECT_EQ(mci.sent.size(), 1u) << "play is not sent after a failed open";
    EXPECT_FALSE(bgm.IsMp3Playing());
    bgm.KeepMp3Playing();
    EXPECT_EQ(mci.sent.size(), 5u);
    EXPECT_EQ(OpenDevices(), "0");
}

TEST_F(MusicWin, WithoutACdDriveTheOpenErrorIsRecordedAndTheFirstPassEndsTheWatch) {
    bgm.OpenCdAudio();
    EXPECT_NE(gApiResult, 0);
    const std::int32_t openError = static_cast<std::int32_t>(Ask("open cdaudio"));
    EXPECT_NE(openError, 0);
    gBgmRepeatTrack = 0;
    bgm.WatchCdAudio();
    EXPECT_FALSE(gCdWatchActive);
    EXPECT_EQ(mci.sent.back(), "status cdaudio current track") << "the pass ends after the first query";
    EXPECT_EQ(gApiResult, static_cast<std::int32_t>(Ask("status cdaudio current track")));
    EXPECT_NE(gMciReply, L"Error (文字列が取れません)") << "the system describes its own errors";
    EXPECT_FALSE(gMciReply.empty());
}

TEST_F(MusicWin, RealErrorsComeBackAsErrorAndTheCode) {
    // An alias nobody opened: Wine answers 281 (it looks for a device by the name's extension), Windows 263.
    const std::wstring answer = bgm.MciQuery(L"status NoSuchAlias mode");
    const std::int32_t code = gApiResult;
    EXPECT_NE(code, 0);
    EXPECT_EQ(answer, L"Error:" + std::to_wstring(code));
    char description[256] = {};
    ASSERT_TRUE(real.mciGetErrorStringA(static_cast<std::uint32_t>(code), description, sizeof description));
    EXPECT_EQ(gMciReply, text.FromAnsi(description)) << "the system's own description, in its code page";
    EXPECT_EQ(bgm.MciQuery(L"sysinfo all quantity open"), L"0");
    EXPECT_EQ(bgm.MciQuery(L""), L"Error:-1");
    EXPECT_EQ(gApiResult, -1);
    EXPECT_EQ(bgm.MciPlay(L"NoSuchAlias", L"0", L""), code);
    EXPECT_EQ(mci.sent.back(), "play NoSuchAlias from 0");
}

}  // namespace
}  // namespace pelluna
