// The saver window against fakes: the load handler's order, the frame loop, input, timers and the end.
#include "saver/Pelluna_S.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <tuple>

#include "FakePlatform.h"
#include "FakeWindowHosts.h"
#include "music/MusicValues.h"
#include "saver/SaverMode.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using testing::Call;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakePlatform;
using testing::FakeSaverHost;
using testing::ProcessExit;
using testing::RecordingEffect;

constexpr Hdc kBackBufferDC = 0x1001;  // the first device context the GDI fake makes
constexpr const char* kEndOfRun[] = {"SystemParametersInfoA(17, 1, null, 0)", "ExitProcess(0)"};

class Pelluna_STest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetProcessValues();
        gDropsCount = 25;
    }

    Pelluna_S& Saver(wchar_t modeLetter = L'S') {
        saver_ = std::make_unique<Pelluna_S>(fake_.ports, host_, bgm_, modeLetter, [this] {
            auto effect = std::make_unique<RecordingEffect>(fake_.log);
            effect->constructResult = constructResult_;
            return effect;
        });
        return *saver_;
    }

    // Runs the load handler until the process would end; returns whether it ended.
    bool RunLoad(Pelluna_S& saver) {
        try {
            saver.Load();
        } catch (const ProcessExit&) {
            return true;
        }
        return false;
    }

    // The log lines that start with any of the prefixes, in order.
    std::vector<std::string> Lines(std::initializer_list<std::string_view> prefixes) const {
        std::vector<std::string> lines;
        for (const std::string& call : fake_.log.Calls()) {
            for (std::string_view prefix : prefixes) {
                if (call.rfind(prefix, 0) == 0) {
                    lines.push_back(call);
                    break;
                }
            }
        }
        return lines;
    }

    // A close request from outside during the frame numbered frame.
    void CloseDuringFrame(int frame) {
        host_.doEventsCalls = 0;
        host_.onDoEvents = [this, frame](int call) {
            if (call != frame) return;
            std::int16_t cancel = 0;
            saver_->QueryUnload(cancel);
            EXPECT_EQ(cancel, -1);
        };
    }

    FakePlatform fake_;
    FakeSaverHost host_{fake_.log};
    Pelluna_BGM bgm_{fake_.mci, fake_.text};
    std::unique_ptr<Pelluna_S> saver_;
    bool constructResult_ = true;
};

TEST_F(Pelluna_STest, LoadHandlerRunsItsStepsInOrderUntilACloseRequest) {
    auto& saver = Saver();
    CloseDuringFrame(1);
    fake_.clock.milliseconds = 5000;
    fake_.clock.millisecondsPerRead = 3;
    EXPECT_TRUE(RunLoad(saver));
    EXPECT_THAT(
        Lines({"Host.", "Effect.", "GetSystemMetrics", "SetWindowPos", "time", "CreateCompatibleDC",
               "CreateCompatibleBitmap", "BitBlt", "ExitProcess", "SystemParametersInfoA", "ShowCursor"}),
        ElementsAre("GetSystemMetrics(4096)", "Host.SetWindowStateNormal()", "GetSystemMetrics(0)",
                    "GetSystemMetrics(1)", "Host.Move(0, 0, 1920, 1080)", "Host.ClientSize()",
                    "Effect.Construct(1920, 1080)", "CreateCompatibleDC(56321)",
                    "CreateCompatibleBitmap(56321, 1920, 1080)", "Host.Show()",
                    "SetWindowPos(23130, -1, 0, 0, 0, 0, 19)", "Host.SetFocus()", "timeBeginPeriod(2)",
                    "Effect.EraseBackground(4097)", "Host.DoEvents()", "Effect.Tick(3)",
                    "Effect.DrawCurrentFrame(4097)", "BitBlt(53456, 0, 0, 1920, 1080, 4097, 0, 0, 13369376)",
                    "timeEndPeriod(2)", "SystemParametersInfoA(97, 0, null, 0)", "ShowCursor(0)",
                    "SystemParametersInfoA(17, 1, null, 0)", "Effect.Destruct()", "Host.Unload()",
                    "ExitProcess(0)"));
    EXPECT_EQ(gApiResult, 1);
}

TEST_F(Pelluna_STest, MusicStartsByKindAndTheFileEnding) {
    const struct {
        std::int16_t kind;
        const wchar_t* file;
        std::vector<std::string> music;
    } cases[] = {
        {0, L"C:\\m\\song.mp3", {}},
        {1,
         L"",
         {R"(mciSendStringA("open cdaudio", null, 0, 0))",
          R"(mciSendStringA("set cdaudio time format tmsf", null, 0, 0))",
          "Host.SetTimerEnabled(Timer2, true)"}},
        {2,
         L"C:\\m\\song.Mp3",
         {R"(mciSendStringA("open \x22C:\x5Cm\x5Csong.Mp3\x22 type MPEGVideo Alias MP3Play", null, 0, 0))",
          R"(mciSendStringA("play MP3Play", null, 0, 0))", "Host.SetTimerEnabled(Timer1, true)"}},
        {2, L"C:\\m\\song.wav", {"waveOutGetNumDevs()", R"(PlaySoundA("C:\x5Cm\x5Csong.wav", 0, 131083))"}},
        {2, L"C:\\m\\song.WaV", {"waveOutGetNumDevs()", R"(PlaySoundA("C:\x5Cm\x5Csong.WaV", 0, 131083))"}},
        {2, L"C:\\m\\song.wave", {}},
        {2, L"C:\\m\\song.mid", {}},
        {2, L"p3", {}},
        {3, L"C:\\m\\song.mp3", {}},
    };
    for (const auto& c : cases) {
        fake_.log.Clear();
        gBgmKind = c.kind;
        gBgmFile = c.file;
        auto& saver = Saver();
        CloseDuringFrame(1);
        RunLoad(saver);
        auto music = Lines({"mciSendStringA", "PlaySoundA", "waveOutGetNumDevs", "Host.SetTimerEnabled"});
        // Only what happened before the window was shown belongs to the start of the music.
        const auto calls = fake_.log.Calls();
        const auto shown = std::find(calls.begin(), calls.end(), "Host.SetWindowStateNormal()");
        music.resize(std::count_if(calls.begin(), shown, [&](const std::string& call) {
            return std::find(music.begin(), music.end(), call) != music.end();
        }));
        EXPECT_EQ(music, c.music) << c.kind << " " << ::testing::PrintToString(std::wstring(c.file));
    }
}

std::string TimedWait(std::uint32_t ms) {
    // Every input, message and timer, as Windows 7 counts them (0x1CFF, with touch and pointer, fails there).
    return Call("MsgWaitForMultipleObjectsEx", 0, nullptr, ms, 0x04FF, win::MWMO_INPUTAVAILABLE);
}

// What the desk tells the saver in each frame, then each frame's tick (the time measured) and wait.
// clang-format off
const struct PaceRow {
    const char* name;
    std::function<void(Pelluna_S&, testing::FakeUser&, int)> tell;  // in the frame numbered
    std::vector<std::pair<int, std::uint32_t>> frames;
} kPaceRows[] = {
    {"NoRateReported", [](auto&&...) {}, {{0, 16}, {16, 17}, {17, 0}}},  // 60 Hz: due at 116 and 133 ms
    {"BatteryThenMains", [](auto& s, auto&, int f) { s.PowerSource(f < 2); }, {{0, 33}, {33, 17}, {17, 0}}},
    {"EnergySaverOnOff", [](auto& s, auto&, int f) { s.EnergySaver(f < 2); }, {{0, 33}, {33, 17}, {17, 0}}},
    {"BatterySaverThenRemote",  // the slower pace told during a frame counts from that frame's refresh
     [](auto& s, auto& u, int f) { f > 1 ? (u.remoteSession = 1, s.SessionChange()) : s.BatterySaver(1); },
     {{0, 33}, {33, 50}, {50, 0}}}};
// clang-format on

class SaverPaceTest : public Pelluna_STest, public ::testing::WithParamInterface<PaceRow> {};

TEST_P(SaverPaceTest, FramesEraseThenPumpThenTickThenDrawThenBlitThenWaitForTheNextRefresh) {
    auto& saver = Saver();
    CloseDuringFrame(3);
    const auto close = host_.onDoEvents;
    host_.onDoEvents = [&](int call) { GetParam().tell(saver, fake_.user, call), close(call); };
    fake_.clock.milliseconds = 100;
    RunLoad(saver);
    const auto frameCalls = Lines({"Effect.EraseBackground", "Host.DoEvents", "Effect.Tick",
                                   "Effect.DrawCurrentFrame", "BitBlt", "MsgWait"});
    std::vector<std::string> expected;
    for (const auto& [tick, wait] : GetParam().frames) {
        expected.insert(expected.end(), {"Effect.EraseBackground(4097)", "Host.DoEvents()",
                                         Call("Effect.Tick", tick), "Effect.DrawCurrentFrame(4097)",
                                         "BitBlt(53456, 0, 0, 1920, 1080, 4097, 0, 0, 13369376)"});
        if (wait != 0) expected.push_back(TimedWait(wait));
    }
    EXPECT_EQ(frameCalls, expected);
    EXPECT_THAT(Lines({"Effect.DrawTransitionMask"}), ElementsAre());
}

INSTANTIATE_TEST_SUITE_P(Desks, SaverPaceTest, ::testing::ValuesIn(kPaceRows),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ElapsedMs, IsTheUnsignedDifferenceAcrossTheWrap) {
    const struct {
        std::uint32_t last;
        std::uint32_t now;
        std::int32_t expected;
    } cases[] = {
        {100, 117, 17},
        {100, 100, 0},
        {0xFFFFFFF0u, 0x00000005u, 21},
        {0x7FFFFFF0u, 0x80000005u, 21},
        {0xFFFFFFFFu, 0u, 1},
        {0u, 0x7FFFFFFFu, 0x7FFFFFFF},
        {0u, 0x80000000u, 0x7FFFFFFF},
        {5u, 4u, 0x7FFFFFFF},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Pelluna_S::ElapsedMs(c.last, c.now), c.expected) << c.last << " " << c.now;
}

TEST_F(Pelluna_STest, TheFirstTickGetsTheTimeSinceTheLoopBegan) {
    auto& saver = Saver();
    fake_.clock.milliseconds = 0xFFFFFFFEu;  // the counter wraps during the first frame
    host_.onDoEvents = [this](int call) {
        fake_.clock.milliseconds += 4;
        if (call == 2) {
            std::int16_t cancel = 0;
            saver_->QueryUnload(cancel);
        }
    };
    RunLoad(saver);
    // The second frame waits for its refresh, 16 ms after the first.
    EXPECT_THAT(Lines({"Effect.Tick"}), ElementsAre("Effect.Tick(4)", "Effect.Tick(16)"));
}

TEST_F(Pelluna_STest, InputRows) {
    const struct {
        const char* name;
        std::int16_t kind;
        std::function<void(Pelluna_S&)> input;
        bool ends;
        std::vector<std::string> music;
        bool cdPlays = true;  // the CD watch's last pass found a disc
    } rows[] = {
        {"click", 0, [](Pelluna_S& s) { s.Click(); }, true, {}},
        {"click with CD", 1, [](Pelluna_S& s) { s.Click(); }, true, {}},
        {"space", 0, [](Pelluna_S& s) { s.KeyDown(32, 0); }, true, {}},
        {"left without CD", 0, [](Pelluna_S& s) { s.KeyDown(37, 0); }, true, {}},
        {"right with file music", 2, [](Pelluna_S& s) { s.KeyDown(39, 0); }, true, {}},
        {"left with CD",
         1,
         [](Pelluna_S& s) { s.KeyDown(37, 0); },
         false,
         {R"(mciSendStringA("status cdaudio current track", ptr, 512, 0))"}},
        {"right with CD",
         1,
         [](Pelluna_S& s) { s.KeyDown(39, 1); },
         false,
         {R"(mciSendStringA("status cdaudio current track", ptr, 512, 0))"}},
        {"up with CD", 1, [](Pelluna_S& s) { s.KeyDown(38, 0); }, true, {}},
        {"left with CD, nothing to play", 1, [](Pelluna_S& s) { s.KeyDown(37, 0); }, true, {}, false},
    };
    for (const auto& row : rows) {
        fake_.log.Clear();
        gCdWatchActive = row.cdPlays;
        gBgmKind = row.kind;
        gBgmFile = row.kind == 2 ? L"C:\\m\\a.wav" : L"";
        auto& saver = Saver();
        bool ended = false;
        try {
            row.input(saver);
        } catch (const ProcessExit&) {
            ended = true;
        }
        EXPECT_EQ(ended, row.ends) << row.name;
        if (!row.ends) {
            const auto queries = Lines({"mciSendStringA"});
            ASSERT_FALSE(queries.empty()) << row.name;
            EXPECT_EQ(queries.front(), row.music.front()) << row.name;
            EXPECT_THAT(Lines({"ExitProcess"}), ElementsAre()) << row.name;
        }
    }
}

TEST_F(Pelluna_STest, EndSaverInSaverModeRestoresCursorAndFlags) {
    gCursorCount = -1;
    fake_.user.showCursorResult = 0;
    auto& saver = Saver(L'S');
    EXPECT_THROW(saver.Click(), ProcessExit);
    EXPECT_THAT(fake_.log.Calls(), ElementsAre("SystemParametersInfoA(97, 0, null, 0)", "ShowCursor(-1)",
                                               kEndOfRun[0], kEndOfRun[1]));
    EXPECT_EQ(gCursorCount, 0);
}

TEST_F(Pelluna_STest, EndSaverWithAnEmptyCommandLineLeavesTheCursorAlone) {
    auto& saver = Saver(L'\0');
    EXPECT_THROW(saver.KeyDown(65, 0), ProcessExit);
    EXPECT_THAT(fake_.log.Calls(), ElementsAreArray(kEndOfRun));
}

TEST_F(Pelluna_STest, EndSaverStopsTheMusicThatPlays) {
    const struct {
        std::int16_t kind;
        const wchar_t* file;
        std::vector<std::string> stops;
    } cases[] = {
        {2,
         L"C:\\m\\a.MP3",
         {R"(mciSendStringA("stop MP3Play", null, 0, 0))", R"(mciSendStringA("close MP3Play", null, 0, 0))"}},
        {2, L"C:\\m\\a.wav", {"PlaySoundA(null, 0, 0)"}},
        {2, L"C:\\m\\a.wave", {}},
        {0, L"C:\\m\\a.mp3", {}},
    };
    for (const auto& c : cases) {
        fake_.log.Clear();
        gBgmKind = c.kind;
        gBgmFile = c.file;
        auto& saver = Saver(L'\0');
        EXPECT_THROW(saver.Click(), ProcessExit);
        std::vector<std::string> expected = c.stops;
        expected.insert(expected.end(), std::begin(kEndOfRun), std::end(kEndOfRun));
        EXPECT_EQ(fake_.log.Calls(), expected) << ::testing::PrintToString(std::wstring(c.file));
    }
}

TEST_F(Pelluna_STest, EndSaverClosesTheCdOnlyWhileItsWatchRuns) {
    gBgmKind = 1;
    auto& saver = Saver(L'\0');
    host_.SetTimerEnabled(SaverTimer::Timer2, true);
    fake_.log.Clear();
    EXPECT_THROW(saver.KeyDown(27, 0), ProcessExit);
    EXPECT_THAT(
        fake_.log.Calls(),
        ElementsAre("Host.SetTimerEnabled(Timer2, false)", R"(mciSendStringA("stop cdaudio", null, 0, 0))",
                    R"(mciSendStringA("close cdaudio", null, 0, 0))", kEndOfRun[0], kEndOfRun[1]));
}

TEST_F(Pelluna_STest, Timer1KeepsTheMp3Going) {
    auto& saver = Saver();
    saver.Timer1Tick();
    EXPECT_EQ(fake_.log.Calls().front(), R"(mciSendStringA("status MP3Play mode", ptr, 30, 0))");
}

TEST_F(Pelluna_STest, TheCdWatchTouchesItsTimerOnlyWhenTheWatchStateChanges) {
    gBgmKind = 1;
    // Re-arming a running timer would restart its countdown, so an unchanged state makes no call.
    const struct {
        bool timerBefore;
        std::pair<std::uint32_t, const char*> trackReply;
        bool watchAfter;
        std::vector<std::string> timerCalls;
    } cases[] = {
        {true, {0, "1"}, true, {}},
        {true, {266, ""}, false, {"Host.SetTimerEnabled(Timer2, false)"}},
        {false, {0, "1"}, true, {"Host.SetTimerEnabled(Timer2, true)"}},
        {false, {266, ""}, false, {}},
    };
    for (const auto& c : cases) {
        auto& saver = Saver();
        host_.SetTimerEnabled(SaverTimer::Timer2, c.timerBefore);
        fake_.log.Clear();
        fake_.mci.script["status cdaudio current track"] = {{c.trackReply.first, c.trackReply.second}};
        saver.Timer2Tick();
        EXPECT_EQ(gCdWatchActive, c.watchAfter) << c.trackReply.first;
        EXPECT_EQ(Lines({"Host.SetTimerEnabled"}), c.timerCalls)
            << c.timerBefore << " " << c.trackReply.first;
        EXPECT_EQ(host_.TimerEnabled(SaverTimer::Timer2), c.watchAfter);
    }
}

TEST_F(Pelluna_STest, ACloseRequestFinishesTheFrameThenRestoresTheSystemOnceBeforeTheEnd) {
    gBgmKind = 2;
    gBgmFile = L"C:\\m\\a.mp3";
    gCursorCount = -1;
    fake_.user.showCursorResult = 0;
    auto& saver = Saver(L'S');
    CloseDuringFrame(1);
    RunLoad(saver);
    const auto calls = fake_.log.Calls();
    const auto close = std::find(calls.begin(), calls.end(), "Host.DoEvents()");
    EXPECT_THAT(
        std::vector<std::string>(close, calls.end()),
        ElementsAre("Host.DoEvents()", "Effect.Tick(0)", "Effect.DrawCurrentFrame(4097)",
                    "BitBlt(53456, 0, 0, 1920, 1080, 4097, 0, 0, 13369376)", "timeEndPeriod(2)",
                    R"(mciSendStringA("stop MP3Play", null, 0, 0))",
                    R"(mciSendStringA("close MP3Play", null, 0, 0))", "SystemParametersInfoA(97, 0, null, 0)",
                    "ShowCursor(-1)", kEndOfRun[0], "Effect.Destruct()", "Host.Unload()", "ExitProcess(0)"));
    EXPECT_EQ(gCursorCount, 0);
    // Once the loop is stopped the unload goes ahead.
    std::int16_t cancel = 0;
    saver.QueryUnload(cancel);
    EXPECT_EQ(cancel, 0);
}

TEST_F(Pelluna_STest, AnEffectThatCannotStartEndsTheRunAsEndSaverDoes) {
    constructResult_ = false;
    gBgmKind = 2;
    gBgmFile = L"C:\\m\\a.mp3";
    auto& saver = Saver(L'S');
    EXPECT_TRUE(RunLoad(saver));
    const auto calls = fake_.log.Calls();
    const auto failed = std::find(calls.begin(), calls.end(), "Effect.Construct(1920, 1080)");
    ASSERT_NE(failed, calls.end());
    EXPECT_THAT(
        std::vector<std::string>(failed + 1, calls.end()),
        ElementsAre(R"(mciSendStringA("stop MP3Play", null, 0, 0))",
                    R"(mciSendStringA("close MP3Play", null, 0, 0))", "SystemParametersInfoA(97, 0, null, 0)",
                    "ShowCursor(0)", kEndOfRun[0], kEndOfRun[1]));
}

TEST_F(Pelluna_STest, AWindowThatCouldNotBeCreatedEndsTheRunAsEndSaverDoes) {
    host_.window = 0;
    gBgmKind = 1;
    auto& saver = Saver(L'S');
    EXPECT_TRUE(RunLoad(saver));
    EXPECT_THAT(Lines({"Effect.Construct", "Host.Show", "timeBeginPeriod"}), ElementsAre());
    const auto calls = fake_.log.Calls();
    const auto clientSize = std::find(calls.begin(), calls.end(), "Host.ClientSize()");
    ASSERT_NE(clientSize, calls.end());
    EXPECT_THAT(
        std::vector<std::string>(clientSize + 1, calls.end()),
        ElementsAre("Host.SetTimerEnabled(Timer2, false)", R"(mciSendStringA("stop cdaudio", null, 0, 0))",
                    R"(mciSendStringA("close cdaudio", null, 0, 0))", "SystemParametersInfoA(97, 0, null, 0)",
                    "ShowCursor(0)", kEndOfRun[0], kEndOfRun[1]));
}

// A desk: its monitors as the system lists them, where the window goes (left, top, width, height; the
// client size is the same), and each monitor's area in client coordinates, the primary first.
struct Desk {
    std::vector<MonitorInfo> monitors;
    std::array<int, 4> window;
    std::vector<std::array<int, 4>> areas;
};

// A layout, or a layout changed into a second during the first frame.
struct MonitorLayoutRow {
    const char* name;
    std::vector<Desk> desks;
};

void PrintTo(const MonitorLayoutRow& row, std::ostream* out) {
    *out << row.name;
}

const Desk kSideBySide{{{{0, 0, 1920, 1080}, {}, 1}, {{1920, 0, 3200, 1024}, {}, 0}},
                       {0, 0, 3200, 1080},
                       {{0, 0, 1920, 1080}, {1920, 0, 1280, 1024}}};
const MonitorLayoutRow kLayouts[] = {
    {"OneMonitor", {{{{{0, 0, 1920, 1080}, {}, 1}}, {0, 0, 1920, 1080}, {{0, 0, 1920, 1080}}}}},
    {"TwoSideBySide", {kSideBySide}},
    {"OneLeftOfAndAboveThePrimary",
     {{{{{-1280, -200, 0, 824}, {}, 0}, {{0, 0, 1920, 1080}, {}, 1}},
       {-1280, -200, 3200, 1280},
       {{1280, 200, 1920, 1080}, {0, 0, 1280, 1024}}}}},
    {"ALayoutChangeFromTwoMonitorsToOneLarger",
     {kSideBySide, {{{{0, 0, 2560, 1440}, {}, 1}}, {0, 0, 2560, 1440}, {{0, 0, 2560, 1440}}}}},
};

// What the saver does on a desk: the placement (the primary screen's metrics when it is alone), each
// monitor's effect and surface, then one frame. Each surface makes a DC and a bitmap, numbered on from dc.
std::vector<std::string> CallsOn(const Desk& desk, Hdc dc, int tick) {
    std::vector<std::string> calls;
    for (int index : desk.monitors.size() == 1 ? std::vector<int>{0, 1} : std::vector<int>{76, 77, 78, 79})
        calls.push_back(Call("GetSystemMetrics", index));
    const auto& [left, top, width, height] = desk.window;
    calls.push_back(Call("Host.Move", left, top, width, height));
    const std::size_t n = desk.areas.size();
    for (const auto& [x, y, w, h] : desk.areas) {
        calls.push_back(Call("Effect.Construct", w, h));
        calls.push_back(Call("CreateCompatibleBitmap", 56321, w, h));
    }
    for (std::size_t i = 0; i < n; ++i) calls.push_back(Call("Effect.EraseBackground", dc + 2 * i));
    calls.insert(calls.end(), n, Call("Effect.Tick", tick));
    for (std::size_t i = 0; i < n; ++i) calls.push_back(Call("Effect.DrawCurrentFrame", dc + 2 * i));
    for (std::size_t i = 0; i < n; ++i) {
        const auto& [x, y, w, h] = desk.areas[i];
        calls.push_back(Call("BitBlt", 53456, x, y, w, h, dc + 2 * i, 0, 0, 13369376));
    }
    return calls;
}

class SaverMonitorsTest : public Pelluna_STest, public ::testing::WithParamInterface<MonitorLayoutRow> {};

TEST_P(SaverMonitorsTest, EachMonitorGetsItsOwnEffectAndSurfaceAtItsPlace) {
    const std::vector<Desk>& desks = GetParam().desks;
    const auto use = [&](const Desk& desk) {
        fake_.user.monitors = desk.monitors;
        fake_.user.screenWidth = host_.clientWidth = desk.window[2];
        fake_.user.screenHeight = host_.clientHeight = desk.window[3];
    };
    use(desks.front());
    auto& saver = Saver();
    std::size_t aliveInLastFrame = 0;
    host_.onDoEvents = [&](int call) {
        fake_.clock.milliseconds += 5;
        aliveInLastFrame = fake_.gdi.Alive().size();
        if (static_cast<std::size_t>(call) < desks.size()) {
            use(desks[call]);
            saver.DisplayChange();
            return;
        }
        std::int16_t cancel = 0;
        saver.QueryUnload(cancel);
    };
    EXPECT_TRUE(RunLoad(saver));

    std::vector<std::string> expected = CallsOn(desks.front(), 0x1001, 5);  // the next frame 16 ms later
    expected.insert(expected.begin(), "GetSystemMetrics(4096)");            // a remote session?
    if (desks.size() == 2) {
        // Every old effect and surface goes before anything new is made.
        const std::size_t old = desks.front().areas.size();
        expected.insert(expected.end(), old, "Effect.Destruct()");
        for (std::size_t i = 0; i < old; ++i) expected.push_back(Call("DeleteDC", 0x1001 + 2 * i));
        const auto next = CallsOn(desks.back(), 0x1001 + 2 * old, 16);
        expected.insert(expected.end(), next.begin(), next.end());
    }
    auto calls =
        Lines({"GetSystemMetrics", "Host.Move", "Effect.", "CreateCompatibleBitmap", "BitBlt", "DeleteDC"});
    // The end of the run after the last frame is pinned by the tests above.
    calls.resize(calls.size() - desks.back().areas.size());
    EXPECT_EQ(calls, expected);
    // Each monitor's surface is one memory DC and one bitmap; an old layout leaves none behind.
    EXPECT_EQ(aliveInLastFrame, 2 * desks.back().areas.size());
}

INSTANTIATE_TEST_SUITE_P(Layouts, SaverMonitorsTest, ::testing::ValuesIn(kLayouts),
                         [](const auto& info) { return std::string(info.param.name); });

// Waits that fail (the next two, once the display is off) still let the messages through, then sleep.
class SaverDisplayOffTest : public Pelluna_STest, public ::testing::WithParamInterface<int> {};

TEST_P(SaverDisplayOffTest,
       TheFastestMonitorSetsTheBeatAndWhileTheDisplayIsOffNothingIsDrawnButTheMusicGoesOn) {
    fake_.user.monitors = kSideBySide.monitors;
    fake_.user.refreshRates = {60, 144};
    auto& saver = Saver();
    host_.onDoEvents = [&](int call) {
        if (call == 2) saver.ConsoleDisplayState(0), fake_.user.failingWaits = GetParam();  // unfinished
        if (call == 3) saver.Timer1Tick(), fake_.user.refreshRates = {75}, saver.DisplayChange();
        if (call == 4) saver.DisplayState(2), fake_.clock.milliseconds += 60000;  // dimmed: seen again
        if (call == 5) saver.ConsoleDisplayState(0);  // the session's is known now: the console's no more
        if (call == 6) saver.Click();
    };
    RunLoad(saver);
    // The minute the display was off never reaches the effects, nor holds the timer resolution (given back
    // by the click's end too). 144 Hz gives frames of two refreshes; the new layout brings its rate, 75 Hz.
    EXPECT_THAT(Lines({"Effect.Tick", "MsgWait", R"(mciSendStringA("status)", "time"}),
                ElementsAre("timeBeginPeriod(2)", "Effect.Tick(0)", TimedWait(13), "timeEndPeriod(2)",
                            TimedWait(win::INFINITE), R"(mciSendStringA("status MP3Play mode", ptr, 30, 0))",
                            TimedWait(win::INFINITE), "timeBeginPeriod(2)", "Effect.Tick(0)", TimedWait(13),
                            "timeEndPeriod(2)"));
    EXPECT_EQ(Lines({"Sleep"}), std::vector<std::string>(GetParam() / 2, "Sleep(10)"));
}

INSTANTIATE_TEST_SUITE_P(FailingWaits, SaverDisplayOffTest, ::testing::Values(0, 2));

}  // namespace
}  // namespace pelluna
