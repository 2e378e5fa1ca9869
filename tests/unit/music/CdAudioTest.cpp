// CD audio against a scripted fake: opening and closing, the watch's rules and the track jumps.
#include <cstdio>
#include <string>
#include <vector>

#include "MusicTestSupport.h"
#include "settings/SettingsValues.h"

namespace pelluna::testing {
namespace {

using Write = FakeMci::Write;
using Strings = std::vector<std::string>;

const std::string kCurrent = "status cdaudio current track";
const std::string kTracks = "status cdaudio number of tracks";
const std::string kMode = "status cdaudio mode";

class CdAudio : public MusicTest {
  protected:
    // A disc of ten tracks whose device is on track current in the given mode.
    void Disc(const std::string& current, const std::string& mode, Write modeWrite = Write::Terminated) {
        mci.script.clear();
        Answer(kCurrent, 0, current);
        Answer(kTracks, 0, "10");
        Answer(kMode, 0, mode, modeWrite);
        for (int track = 1; track <= 10; ++track) {
            Answer("status cdaudio position track " + std::to_string(track), 0, Position(track));
        }
    }
    // Positions in the tmsf format, as the device reports the start of a track.
    static std::string Position(int track) {
        char text[16];
        std::snprintf(text, sizeof text, "%02d:00:00:00", track);
        return text;
    }
    static Strings PassStart() {
        return {WithReply(kCurrent, 512), WithReply(kTracks, 512), WithReply(kMode, 255)};
    }
};

TEST_F(CdAudio, OpenSetsTheTimeFormatAndRecordsEachResult) {
    Answer("open cdaudio", 266);
    Answer("set cdaudio time format tmsf", 263);
    bgm.OpenCdAudio();
    EXPECT_EQ(Calls(), (Strings{Direct("open cdaudio"), Direct("set cdaudio time format tmsf")}));
    EXPECT_EQ(gApiResult, 263);
    mci.script.clear();
    bgm.OpenCdAudio();
    EXPECT_EQ(gApiResult, 0);
}

TEST_F(CdAudio, CloseStopsAndClosesAndRecordsEachResult) {
    Answer("close cdaudio", 263);
    bgm.CloseCdAudio();
    EXPECT_EQ(Calls(), (Strings{Direct("stop cdaudio"), Direct("close cdaudio")}));
    EXPECT_EQ(gApiResult, 263);
}

TEST_F(CdAudio, WatchEndsAfterOnePassWithoutADisc) {
    Answer(kCurrent, 266);
    gBgmRepeatTrack = 3;
    bgm.WatchCdAudio();
    EXPECT_FALSE(gCdWatchActive);
    EXPECT_EQ(Calls(), (Strings{WithReply(kCurrent, 512), ErrorText(266)}));
    EXPECT_EQ(gApiResult, 266);
}

TEST_F(CdAudio, WatchEndsWhenAReplyLooksLikeAnError) {
    const struct {
        const char* why;
        std::uint32_t currentResult;
        std::string current;
        std::uint32_t tracksResult;
        std::string tracks;
        std::size_t calls;
    } cases[] = {
        {"track count fails", 0, "1", 263, "", 3},
        {"reply contains err", 0, "Terrible", 0, "10", 1},
        {"reply contains ErR", 0, "3", 0, "ErR", 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        log.Clear();
        mci.script.clear();
        Answer(kCurrent, c.currentResult, c.current);
        Answer(kTracks, c.tracksResult, c.tracks);
        bgm.WatchCdAudio();
        EXPECT_FALSE(gCdWatchActive);
        EXPECT_EQ(Calls().size(), c.calls);
        EXPECT_TRUE(log.CallsTo("mciSendStringA(\"status cdaudio mode\"").empty());
    }
}

TEST_F(CdAudio, RepeatTrackThreeIsPlayedWheneverTheDeviceIsElsewhereOrStopped) {
    const struct {
        std::string current;
        std::string mode;
        bool played;
    } cases[] = {
        {"3", "playing", false},   {"3", "stopped", true},  {"4", "playing", true},
        {"1", "paused", true},     {"3", "paused", false},  {" 3 ", "playing", false},
        {"3.0", "playing", false}, {"10", "stopped", true}, {"3", "Stopped", false},
        {"3", "stopped!", true},   {"3", "stoppe", false},
    };
    gBgmRepeatTrack = 3;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.current + "/" + c.mode);
        log.Clear();
        Disc(c.current, c.mode);
        bgm.WatchCdAudio();
        EXPECT_TRUE(gCdWatchActive);
        Strings expected = PassStart();
        if (c.played) {
            expected.push_back(WithReply("status cdaudio position track 3", 512));
            expected.push_back(WithReply("play cdaudio from 03:00:00:00", 512));
        }
        EXPECT_EQ(Calls(), expected);
    }
}

TEST_F(CdAudio, WithoutRepeatTrackOnlyAStoppedDeviceIsToldToPlay) {
    const struct {
        std::string mode;
        Write write;
        bool played;
    } cases[] = {
        {"stopped", Write::Terminated, true},   {"playing", Write::Terminated, false},
        {"paused", Write::Terminated, false},   {"Stopped", Write::Terminated, false},
        {"stop", Write::Terminated, false},     {"", Write::Terminated, false},
        {"stopped", Write::Unterminated, true}, {"seeking", Write::Unterminated, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        log.Clear();
        Disc("7", c.mode, c.write);
        bgm.WatchCdAudio();
        EXPECT_TRUE(gCdWatchActive);
        Strings expected = PassStart();
        if (c.played) expected.push_back(WithReply("play cdaudio", 512));
        EXPECT_EQ(Calls(), expected);
    }
}

TEST_F(CdAudio, WatchRecordsTheModeQueryResult) {
    Disc("3", "playing");
    mci.script[kMode] = {FakeMci::Answer{263, ""}};
    bgm.WatchCdAudio();
    EXPECT_EQ(gApiResult, 263);
}

TEST_F(CdAudio, AFailingModeQueryRepeatsThePreviousMode) {
    Disc("3", "stopped");
    bgm.WatchCdAudio();
    log.Clear();
    mci.script[kMode] = {FakeMci::Answer{263, ""}};
    bgm.WatchCdAudio();
    EXPECT_EQ(log.CallsTo("mciSendStringA(\"play cdaudio\""), Strings{WithReply("play cdaudio", 512)});
}

TEST_F(CdAudio, ACurrentTrackThatIsNoNumberEndsTheWatchWhenARepeatTrackIsSet) {
    for (const std::string current : {"", "abc", "3x", "1e999x", "03:00"}) {
        SCOPED_TRACE(current);
        log.Clear();
        gBgmRepeatTrack = 3;
        Disc(current, "stopped");
        bgm.WatchCdAudio();
        EXPECT_FALSE(gCdWatchActive);
        EXPECT_EQ(Calls(), PassStart()) << "nothing is played after the failed comparison";
        // Without a repeat track the current track is never read as a number.
        log.Clear();
        gBgmRepeatTrack = 0;
        bgm.WatchCdAudio();
        EXPECT_TRUE(gCdWatchActive);
    }
}

TEST_F(CdAudio, ARepeatTrackBeyondTheLastOneKeepsTheWatchGoingWithoutSound) {
    gBgmRepeatTrack = 12;
    Disc("1", "playing");
    Answer("status cdaudio position track 12", 282);
    Answer("play cdaudio from Error:282", 282);
    bgm.WatchCdAudio();
    EXPECT_TRUE(gCdWatchActive);
    Strings expected = PassStart();
    expected.push_back(WithReply("status cdaudio position track 12", 512));
    expected.push_back(ErrorText(282));
    expected.push_back(WithReply("play cdaudio from Error:282", 512));
    expected.push_back(ErrorText(282));
    EXPECT_EQ(Calls(), expected);
}

TEST_F(CdAudio, TrackJumpsAskForTheNeighbourAndPlayFromItsPosition) {
    const struct {
        const char* why;
        std::string current;
        bool next;
        std::string asked;
    } cases[] = {
        {"next", "4", true, "5"},
        {"previous", "4", false, "3"},
        {"next after half rounds to even", "2.5", true, "3"},
        {"next after 3.5", "3.5", true, "5"},
        {"leading number", " 6 tracks", false, "5"},
        {"error text reads as 0, next", "Error:266", true, "1"},
        {"beyond 16 bits reads as 0", "40000", true, "1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        log.Clear();
        Disc(c.current, "playing");
        if (c.why == std::string("error text reads as 0, next"))
            mci.script[kCurrent] = {FakeMci::Answer{266, ""}};
        if (c.next) {
            bgm.PlayNextTrack();
        } else {
            bgm.PlayPreviousTrack();
        }
        const std::string position = Position(std::stoi(c.asked));
        Strings calls = log.CallsTo("mciSendStringA");
        EXPECT_EQ(calls, (Strings{WithReply(kCurrent, 512),
                                  WithReply("status cdaudio position track " + c.asked, 512),
                                  WithReply("play cdaudio from " + position, 512)}));
    }
}

TEST_F(CdAudio, NoWrapAroundAtEitherEnd) {
    const struct {
        std::string current;
        bool next;
        std::string asked;
    } cases[] = {{"10", true, "11"}, {"1", false, "0"}, {"32767", true, "32768"}, {"0", false, "-1"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        log.Clear();
        Disc(c.current, "playing");
        Answer("status cdaudio position track " + c.asked, 282);
        Answer("play cdaudio from Error:282", 282);
        gCdWatchActive = true;
        if (c.next) {
            bgm.PlayNextTrack();
        } else {
            bgm.PlayPreviousTrack();
        }
        EXPECT_EQ(
            Calls(),
            (Strings{WithReply(kCurrent, 512), WithReply("status cdaudio position track " + c.asked, 512),
                     ErrorText(282), WithReply("play cdaudio from Error:282", 512), ErrorText(282)}));
        EXPECT_EQ(gApiResult, 282);
        EXPECT_TRUE(gCdWatchActive);
    }
}

}  // namespace
}  // namespace pelluna::testing
