// The settings dialog against a fake window, profile and dialogs: loading, choices, saving, closing.
#include "settings/DialogFonts.h"
#include "settings/DialogLayout.h"
#include "settings/DialogShading.h"
#include "settings/Pelluna_P.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeDialogHost.h"
#include "FakePlatform.h"
#include "FakeShell.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"
#include "settings/WindowAnimation.h"

namespace pelluna {
namespace {

using C = DialogControl;
using testing::FakePlatform;

constexpr const char* kIni = "C:\\Program Files\\Pelluna\\Pelluna.ini";
// The six writes of a save, as the profile API gets them (key names in code page 932).
constexpr const char* kWritePrefix = "WritePrivateProfileStringA(\"Section\", ";
constexpr const char* kIniArg = ", \"C:\\x5CProgram Files\\x5CPelluna\\x5CPelluna.ini\")";

std::string Write(const std::string& key, const std::string& value) {
    return kWritePrefix + key + ", " + value + kIniArg;
}

class Pelluna_PTest : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetProcessValues();
        fake_.user.windowRects[host_.window] = Rect{719, 245, 1201, 589};
    }
    // The settings as LoadSettings leaves them for an INI file with these lines (ANSI bytes).
    void LoadFrom(const std::string& lines) {
        fake_.kernel.files[kIni] = "[Section]\r\n" + lines;
        SettingsStore(fake_.kernel, fake_.text).LoadSettings();
    }
    void Load() {
        fake_.log.Clear();
        dialog_.Load();
    }
    std::vector<std::string> Writes() const { return fake_.log.CallsTo("WritePrivateProfileStringA"); }
    IndicatorPicture Picture(C control) { return host_.pictures.at(control); }

    FakePlatform fake_;
    testing::FakeDialogHost host_{fake_.log};
    testing::FakeCommonDialogs dialogs_{fake_.log};
    testing::FakeShell shell_{fake_.log};
    Pelluna_P dialog_{fake_.ports, host_, dialogs_, shell_};
};

TEST_F(Pelluna_PTest, WithoutASettingsFileTheLoadStepsShowTheDefaults) {
    SettingsStore(fake_.kernel, fake_.text).LoadSettings();
    fake_.user.cursorPos = Point{100, 50};
    Load();

    std::vector<std::string> expected = {
        // (1920 - 482) x 15 / 2 and (1080 - 344) x 15 / 3, in twips.
        "Host.Move(10785, 3680)",
        "Host.Initialize(Cmd_Set)",
        "Host.Initialize(Cmd_Can)",
        "Host.Initialize(Cmd_BGM)",
        "Host.SetEnabled(Cmd_BGM, false)",
        "Host.SetEnabled(BGM_Repeat, false)",
        "Host.SetPicture(Img_BGM0, Unselected)",
        "Host.SetPicture(Img_BGM1, Unselected)",
        "Host.SetPicture(Img_BGM2, Unselected)",
        "Host.SetPicture(Img_BGM0, Selected)",
        "Host.SetText(BGM_Repeat)",
    };
    expected.insert(expected.end(), 31, "Host.AddItem(BGM_Repeat)");
    expected.insert(expected.end(), {
                                        "Host.SetValue(HS_Num, 25)",
                                        "Host.SetValue(HS_Fast, 100)",
                                        "Host.SetValue(HS_Size, 100)",
                                        "Host.SetText(lbl_Fname)",
                                        "GetCursorPos()",
                                        "GetWindowRect(53665)",
                                        "DrawAnimatedRects(53665, 3, 100, 50, 100, 50, 719, 245, 1201, 589)",
                                    });
    EXPECT_EQ(fake_.log.Calls(), expected);

    EXPECT_EQ(host_.texts[C::BGM_Repeat], L"");
    EXPECT_EQ(host_.texts[C::lbl_Fname], L"");
    std::vector<std::wstring> tracks = {L""};
    for (int track = 1; track <= 30; ++track) tracks.push_back(std::to_wstring(track));
    EXPECT_EQ(host_.items[C::BGM_Repeat], tracks);
    EXPECT_EQ(gCursorX, 100);
    EXPECT_EQ(gCursorY, 50);
    EXPECT_EQ(gApiResult, 1);
}

TEST_F(Pelluna_PTest, LoadedNumbersSetTheBarsAndAValueBeyondABarShowsAtItsEndAndIsSavedBackUnlessMoved) {
    const struct {
        const char* lines;
        std::int32_t drops, speed, size;
        const char *savedDrops, *savedSpeed, *savedSize;
    } cases[] = {
        {"DropsCount=100\r\n", 50, 100, 100, " 100", " 100", " 100"},      // beyond the bar: at its end
        {"DropsCount=70000\r\n", 50, 100, 100, " 70000", " 100", " 100"},  // beyond 16 bits too
        {"DropsCount= 50\r\nRippleSpeed=150\r\nRippleSize=50\r\n", 50, 150, 50, " 50", " 150", " 50"},
        // A half goes to the even neighbour; untouched, decimals within the range are written as they were.
        {"RippleSpeed=121.5\r\nRippleSize=120.5\r\n", 25, 122, 120, " 25", " 121.5", " 120.5"},
        {"DropsCount=30.5\r\nRippleSpeed=75.25\r\nRippleSize=99.9\r\n", 30, 75, 100, " 30.5", " 75.25",
         " 99.9"},
        {"DropsCount= -0.25 \r\nRippleSpeed=0150.0\r\n", 10, 150, 100, "-0.25", " 150", " 100"},
        {"RippleSpeed=49.4\r\nRippleSize=1e9\r\n", 25, 50, 150, " 25", " 49.4", " 1000000000"},
        {"RippleSpeed=99999999\r\nRippleSize=-5\r\n", 25, 150, 50, " 25", " 100000000", "-5"},
        {"DropsCount=abc\r\n", 10, 100, 100, " 0", " 100", " 100"},  // no number: the setting stays 0
    };
    for (const auto& c : cases) {
        // Untouched; one step towards more, which from a value beyond starts at the end it shows at; the end.
        for (const int request : {-1, win::SB_LINERIGHT, win::SB_RIGHT}) {
            SCOPED_TRACE(std::string(c.lines) + " request " + std::to_string(request));
            testing::ResetProcessValues();
            host_.values = {{C::HS_Num, 10}, {C::HS_Fast, 50}, {C::HS_Size, 50}};
            LoadFrom(c.lines);
            Load();
            EXPECT_EQ(host_.values[C::HS_Num], c.drops);
            EXPECT_EQ(host_.values[C::HS_Fast], c.speed);
            EXPECT_EQ(host_.values[C::HS_Size], c.size);
            if (request >= 0) {
                for (const C bar : {C::HS_Num, C::HS_Fast, C::HS_Size}) dialog_.HS_Scroll(bar, request, 0);
            }
            const auto saved = [&](const char* stored, std::int32_t shown, std::int32_t max) {
                if (request < 0) return std::string(stored);
                return " " + std::to_string(request == win::SB_RIGHT ? max : std::min(shown + 1, max));
            };
            fake_.log.Clear();
            dialog_.Cmd_Set_Click();
            ASSERT_EQ(Writes().size(), 6u);
            EXPECT_EQ(Writes()[0], Write("\"DropsCount\"", testing::Quote(saved(c.savedDrops, c.drops, 50))));
            EXPECT_EQ(Writes()[1],
                      Write("\"RippleSpeed\"", testing::Quote(saved(c.savedSpeed, c.speed, 150))));
            EXPECT_EQ(Writes()[2], Write("\"RippleSize\"", testing::Quote(saved(c.savedSize, c.size, 150))));
        }
    }
}

TEST_F(Pelluna_PTest, ScrollRequestsMoveABarByItsStepsWithinItsRange) {
    const struct {
        C bar;
        std::int32_t from;
        int request;
        std::int32_t track, to;
    } cases[] = {
        // The ends (Home, End), the thumb within the range and the moves that leave a bar where it is are
        // proven by the save tests above.
        {C::HS_Num, 25, win::SB_LINERIGHT, 0, 26},      {C::HS_Num, 25, win::SB_PAGELEFT, 0, 24},
        {C::HS_Fast, 100, win::SB_PAGERIGHT, 0, 110},   {C::HS_Fast, 145, win::SB_PAGERIGHT, 0, 150},
        {C::HS_Size, 100, win::SB_LINELEFT, 0, 99},     {C::HS_Size, 55, win::SB_PAGELEFT, 0, 50},
        {C::HS_Num, 25, win::SB_THUMBPOSITION, 99, 50}, {C::HS_Num, 25, 8 /* SB_ENDSCROLL */, 40, 25},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::ControlName(c.bar) + " " + std::to_string(c.request));
        host_.values[c.bar] = c.from;
        dialog_.HS_Scroll(c.bar, c.request, c.track);
        EXPECT_EQ(host_.values[c.bar], c.to);
    }
}

TEST_F(Pelluna_PTest, TheMusicKindSelectsOneIndicatorAndEnablesItsControl) {
    const struct {
        std::int16_t kind;
        int selected;  // index of the selected indicator, -1 for none
        bool repeatEnabled, fileButtonEnabled;
    } cases[] = {
        {0, 0, false, false},  {1, 1, true, false},    {2, 2, false, true},
        {5, -1, false, false}, {-1, -1, false, false},
    };
    const C indicators[] = {C::Img_BGM0, C::Img_BGM1, C::Img_BGM2};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        gBgmKind = c.kind;
        gBgmFile = L"C:\\m.mp3";
        host_.pictures.clear();
        Load();
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(Picture(indicators[i]),
                      i == c.selected ? IndicatorPicture::Selected : IndicatorPicture::Unselected);
        }
        EXPECT_EQ(host_.enabled.at(C::BGM_Repeat), c.repeatEnabled);
        EXPECT_EQ(host_.enabled.at(C::Cmd_BGM), c.fileButtonEnabled);
        EXPECT_EQ(fake_.log.CallsTo("Host.SetPicture").size(), c.selected < 0 ? 3u : 4u);
    }
}

TEST_F(Pelluna_PTest, AStoredMusicKindOutsideTheChoicesIsWrittenBackUnchanged) {
    LoadFrom("BGM\x8B\xE6\x95\xAA=5\r\nBGM\xD8\xCB\xDF\xB0\xC4=12\r\n");
    Load();
    EXPECT_EQ(host_.texts[C::BGM_Repeat], L"12");
    dialog_.Cmd_Set_Click();
    ASSERT_EQ(Writes().size(), 6u);
    EXPECT_EQ(Writes()[3], Write("\"BGM\\x8B\\xE6\\x95\\xAA\"", "\" 5\""));
    EXPECT_EQ(Writes()[4], Write("\"BGM\\xD8\\xCB\\xDF\\xB0\\xC4\"", "\" 12\""));
}

TEST_F(Pelluna_PTest, SaveWritesTheSixKeysInOrderThenCloses) {
    gBgmFile = L"D:\\音楽\\雨.mp3";
    gBgmKind = 2;
    Load();
    dialog_.HS_Scroll(C::HS_Num, win::SB_THUMBPOSITION, 37);
    dialog_.HS_Scroll(C::HS_Fast, win::SB_THUMBTRACK, 64);
    dialog_.HS_Scroll(C::HS_Size, win::SB_RIGHT, 0);
    host_.texts[C::BGM_Repeat] = L" 3 ";
    fake_.log.Clear();
    dialog_.Cmd_Set_Click();

    const std::vector<std::string> writes = {
        Write("\"DropsCount\"", "\" 37\""),
        Write("\"RippleSpeed\"", "\" 64\""),
        Write("\"RippleSize\"", "\" 150\""),
        Write("\"BGM\\x8B\\xE6\\x95\\xAA\"", "\" 2\""),
        Write("\"BGM\\xD8\\xCB\\xDF\\xB0\\xC4\"", "\" 3\""),
        Write("\"BGM\\xCC\\xA7\\xB2\\xD9\"", "\"D:\\x5C\\x89\\xB9\\x8Ay\\x5C\\x89J.mp3\""),
    };
    EXPECT_EQ(Writes(), writes);
    const std::vector<std::string>& calls = fake_.log.Calls();
    ASSERT_GE(calls.size(), 2u);
    EXPECT_EQ(calls[calls.size() - 2], "DrawAnimatedRects(53665, 3, 719, 245, 1201, 589, 0, 0, 0, 0)");
    EXPECT_EQ(calls.back(), "Host.Unload()");
    EXPECT_EQ(gBgmRepeatTrack, 3);
    // The numbers in memory are left as they were loaded.
    EXPECT_EQ(gDropsCount, 0);
    EXPECT_EQ(
        fake_.kernel.files[kIni],
        "[Section]\r\nDropsCount= 37\r\nRippleSpeed= 64\r\nRippleSize= 150\r\nBGM\x8B\xE6\x95\xAA= 2\r\n"
        "BGM\xD8\xCB\xDF\xB0\xC4= 3\r\nBGM\xCC\xA7\xB2\xD9=D:\\\x89\xB9\x8A\x79\\\x89J.mp3\r\n");
}

TEST_F(Pelluna_PTest, TheTrackTextIsSavedAsARoundedNumberOrZero) {
    const struct {
        const wchar_t* text;
        const char* written;
        std::int16_t track;
    } cases[] = {
        {L"abc", "\" 0\"", 0},   {L"", "\" 0\"", 0},
        {L"2.5", "\" 2\"", 2},   {L"3.5", "\" 4\"", 4},
        {L"7", "\" 7\"", 7},     {L"-1", "\"-1\"", -1},
        {L"40000", "\" 0\"", 0}, {L"32767", "\" 32767\"", 32767},
        {L"7x", "\" 0\"", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.written);
        gBgmRepeatTrack = 9;
        Load();
        host_.texts[C::BGM_Repeat] = c.text;
        fake_.log.Clear();
        dialog_.Cmd_Set_Click();
        ASSERT_EQ(Writes().size(), 6u);
        EXPECT_EQ(Writes()[4], Write("\"BGM\\xD8\\xCB\\xDF\\xB0\\xC4\"", c.written));
        EXPECT_EQ(gBgmRepeatTrack, c.track);
    }
}

TEST_F(Pelluna_PTest, ImagesAndNamesOfARowChooseTheSameKind) {
    const struct {
        std::int16_t index;
        C selected;
        bool repeatEnabled, fileButtonEnabled;
    } cases[] = {
        {0, C::Img_BGM0, false, false},
        {1, C::Img_BGM1, true, false},
        {2, C::Img_BGM2, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.index);
        std::vector<std::string> logs[2];
        for (int byName = 0; byName < 2; ++byName) {
            gBgmKind = 9;
            host_.pictures.clear();
            fake_.log.Clear();
            if (byName) {
                dialog_.lbl_BGM_Click(c.index);
            } else {
                dialog_.Img_BGM_Click(c.index);
            }
            logs[byName] = fake_.log.Calls();
            EXPECT_EQ(gBgmKind, c.index);
            EXPECT_EQ(Picture(c.selected), IndicatorPicture::Selected);
            EXPECT_EQ(host_.enabled.at(C::BGM_Repeat), c.repeatEnabled);
            EXPECT_EQ(host_.enabled.at(C::Cmd_BGM), c.fileButtonEnabled);
        }
        EXPECT_EQ(logs[0], logs[1]);
        EXPECT_EQ(logs[0].front(), "Host.SetEnabled(Cmd_BGM, false)");
        EXPECT_TRUE(Writes().empty());
    }
}

TEST_F(Pelluna_PTest, TheFileChooserGetsTheOldStructureAndItsFields) {
    Load();
    fake_.log.Clear();
    dialog_.Cmd_BGM_Click();
    // Filter "BGMﾌｧｲﾙ (MP3 WAV)" NUL "*.MP3;*.WAV" NUL NUL; no folder to open in; title "ﾌｧｲﾙを開く"; the
    // read-only box hidden; the rest empty or 0.
    EXPECT_EQ(
        fake_.log.Calls(),
        std::vector<std::string>{
            "GetOpenFileNameA(" + std::to_string(sizeof(void*) == 8 ? 136 : 76) +
            ", 53665, 4194304, \"BGM\\xCC\\xA7\\xB2\\xD9 (MP3 WAV)\\x00*.MP3;*.WAV\\x00\\x00\", null, 0, 0, "
            "buffer 32768 NUL, 32768, buffer 32768 NUL, 32768, null, "
            "\"\\xCC\\xA7\\xB2\\xD9\\x82\\xF0\\x8AJ\\x82\\xAD\", "
            "4, null, 0, null, null)"});
    // Cancelled: nothing changes.
    EXPECT_EQ(gApiResult, 0);
    EXPECT_EQ(gBgmFile, L"");
    EXPECT_EQ(host_.texts[C::lbl_Fname], L"");
}

TEST_F(Pelluna_PTest, TheFileChooserOpensInTheFolderOfTheMusicChosenNowOrElseInTheMusicFolder) {
    fake_.kernel.directories = {L"E:\\\u96E8\\", shell_.musicFolder};
    for (const auto& [file, folder] :
         {std::pair{L"E:\\\u96E8\\rain.wav", "\"E:\\x5C\\x89J\\x5C\""},  // in 932
          {L"E:\\gone\\rain.wav", "\"C:\\x5CUsers\\x5CAme\\x5CMusic\""},
          {L"", "\"C:\\x5CUsers\\x5CAme\\x5CMusic\""}}) {
        gBgmFile = file;
        fake_.log.Clear();
        dialog_.Cmd_BGM_Click();
        EXPECT_THAT(fake_.log.CallsTo("GetOpenFileNameA").at(0),
                    ::testing::HasSubstr(std::string(" 32768, ") + folder + ", "));
    }
}

TEST(DialogLayout, TheDialogGrowsForItsTextsNoMoreThanItsWorkAreaHoldsAndStandsWithinIt) {
    // At 96 dpi: the caption of "設定" in a font needing this many pixels of its 77 (85 less two bands of 4),
    // the work area, the frame and title bar (width, height), the growth.
    const struct {
        std::int32_t caption;
        Rect work;
        std::int32_t frameWidth, frameHeight;
        double growth;
    } cases[] = {
        {74, {0, 0, 1920, 1040}, 6, 29, 1.0},                    // fits as made
        {151, {0, 0, 1920, 1040}, 6, 29, 2.0},                   // (151 + 3) / 77
        {200, {0, 0, 1024, 768}, 6, 29, (1024 - 6) / 476.0},     // 1018 x 674 of 1018 x 739
        {200, {1920, 0, 3200, 600}, 6, 29, (600 - 29) / 315.0},  // the height holds it back
        {200, {0, 0, 400, 300}, 6, 29, 1.0},                     // never smaller than made
        {400, {0, 0, 3840, 2160}, 6, 29, 3.0},                   // at most 3
    };
    for (const auto& c : cases) {
        const auto measure = [&](const LayoutEntry& entry) {
            return entry.control == C::Cmd_Set ? std::optional(TextExtent{c.caption, 10}) : std::nullopt;
        };
        EXPECT_DOUBLE_EQ(LayoutGrowth(measure, 1 / 15.0, {c.work, c.frameWidth, c.frameHeight}), c.growth)
            << c.caption << " in " << c.work.right;
    }
    // The place asked for, moved into the work area; a window larger than it shows its top-left corner.
    EXPECT_EQ(PlaceWithin({0, 0, 1024, 768}, {-6, -4}, 1024, 703), (Point{0, 0}));
    EXPECT_EQ(PlaceWithin({0, 0, 1024, 728}, {900, 700}, 300, 200), (Point{724, 528}));
    EXPECT_EQ(PlaceWithin({1920, 0, 3200, 1024}, {1800, 10}, 500, 400), (Point{1920, 10}));
    EXPECT_EQ(PlaceWithin({0, 40, 1024, 768}, {100, 100}, 500, 300), (Point{100, 100}));
    EXPECT_EQ(PlaceWithin({0, 40, 400, 300}, {-50, 10}, 482, 344), (Point{0, 40}));
}

TEST_F(Pelluna_PTest, AChosenFileIsShownAndKeptWhenAnotherKindIsChosen) {
    Load();
    dialog_.lbl_BGM_Click(2);
    dialog_.Cmd_BGM_Click();  // cancelled first
    dialogs_.chosenFile = "E:\\\x89\xB9\\rain.wav";
    dialog_.Cmd_BGM_Click();
    EXPECT_EQ(gApiResult, 1);
    EXPECT_EQ(gBgmFile, L"E:\\音\\rain.wav");
    EXPECT_EQ(host_.texts[C::lbl_Fname], L"E:\\音\\rain.wav");

    dialog_.Img_BGM_Click(1);
    fake_.log.Clear();
    dialog_.Cmd_Set_Click();
    ASSERT_EQ(Writes().size(), 6u);
    EXPECT_EQ(Writes()[3], Write("\"BGM\\x8B\\xE6\\x95\\xAA\"", "\" 1\""));
    EXPECT_EQ(Writes()[5], Write("\"BGM\\xCC\\xA7\\xB2\\xD9\"", "\"E:\\x5C\\x89\\xB9\\x5Crain.wav\""));
}

TEST_F(Pelluna_PTest, MusicFileWithoutAFileSavesKindTwoAndAnEmptyPathWhichLoadsAsNoMusic) {
    Load();
    dialog_.lbl_BGM_Click(2);
    dialog_.Cmd_Set_Click();
    ASSERT_EQ(Writes().size(), 6u);
    EXPECT_EQ(Writes()[3], Write("\"BGM\\x8B\\xE6\\x95\\xAA\"", "\" 2\""));
    EXPECT_EQ(Writes()[5], Write("\"BGM\\xCC\\xA7\\xB2\\xD9\"", "\"\""));
    SettingsStore(fake_.kernel, fake_.text).LoadSettings();
    EXPECT_EQ(gBgmKind, 0);
}

TEST_F(Pelluna_PTest, CancelAndTheCloseBoxLeaveTheFileAsItWas) {
    const std::string before = "[Section]\r\nDropsCount=30\r\nBGM\x8B\xE6\x95\xAA=0\r\n";
    for (const bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox);
        fake_.kernel.files[kIni] = before;
        SettingsStore(fake_.kernel, fake_.text).LoadSettings();
        fake_.user.cursorPos = Point{-300, 20};
        Load();
        dialog_.lbl_BGM_Click(2);
        dialogs_.chosenFile = "C:\\song.mp3";
        dialog_.Cmd_BGM_Click();
        host_.values[C::HS_Num] = 44;
        fake_.log.Clear();
        if (closeBox) {
            dialog_.QueryUnload();
        } else {
            dialog_.Cmd_Can_Click();
        }
        EXPECT_EQ(
            fake_.log.Calls(),
            (std::vector<std::string>{"GetWindowRect(53665)",
                                      "DrawAnimatedRects(53665, 3, 719, 245, 1201, 589, -300, 20, -300, 20)",
                                      "Host.Unload()"}));
        EXPECT_EQ(fake_.kernel.files[kIni], before);
    }
}

TEST_F(Pelluna_PTest, TheCursorPointIsKeptOnlyWhenItCanBeRead) {
    const struct {
        bool readable;
        Point cursor;
        std::int16_t x, y;  // starting from 7, 8
        std::int32_t apiResult;
    } cases[] = {
        {true, {100, 50}, 100, 50, 1},
        {true, {-1280, -5}, -1280, -5, 1},
        {true, {40000, 12}, 7, 12, 1},  // a coordinate beyond 16 bits keeps the earlier value
        {false, {100, 50}, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cursor.x);
        gCursorX = 7;
        gCursorY = 8;
        fake_.user.getCursorPosResult = c.readable;
        fake_.user.cursorPos = c.cursor;
        Load();
        EXPECT_EQ(gCursorX, c.x);
        EXPECT_EQ(gCursorY, c.y);
        EXPECT_EQ(gApiResult, c.apiResult);
        const std::string point = std::to_string(c.x) + ", " + std::to_string(c.y);
        EXPECT_EQ(fake_.log.Calls().back(),
                  "DrawAnimatedRects(53665, 3, " + point + ", " + point + ", 719, 245, 1201, 589)");
    }
}

TEST_F(Pelluna_PTest, AnimationsRunBetweenTheSavedPointAndTheWindowEvenAfterTheCursorMoved) {
    gCursorX = 100;
    gCursorY = 50;
    fake_.user.cursorPos = Point{900, 900};
    ShowOpenAnimation(fake_.user, host_.window);
    ShowCloseAnimation(fake_.user, host_.window);
    // A window the system does not know: the empty rectangle at the screen's corner.
    ShowOpenAnimation(fake_.user, 0x999);
    ShowCloseAnimation(fake_.user, 0x999);
    EXPECT_EQ(fake_.log.CallsTo("DrawAnimatedRects"),
              (std::vector<std::string>{
                  "DrawAnimatedRects(53665, 3, 100, 50, 100, 50, 719, 245, 1201, 589)",
                  "DrawAnimatedRects(53665, 3, 719, 245, 1201, 589, 100, 50, 100, 50)",
                  "DrawAnimatedRects(2457, 3, 100, 50, 100, 50, 0, 0, 0, 0)",
                  "DrawAnimatedRects(2457, 3, 0, 0, 0, 0, 100, 50, 100, 50)",
              }));
    EXPECT_TRUE(fake_.log.CallsTo("GetCursorPos").empty());
}

TEST_F(Pelluna_PTest, InitialiseButtonsReachesOnlyTheThreeCommandButtons) {
    dialog_.InitialiseButtons(true, false);
    dialog_.InitialiseButtons(false, false);
    dialog_.InitialiseButtons(false, true);
    EXPECT_EQ(fake_.log.Calls(), (std::vector<std::string>{
                                     "Host.Initialize(Cmd_Set)",
                                     "Host.Initialize(Cmd_Can)",
                                     "Host.Initialize(Cmd_BGM)",
                                     "Host.SetEnabled(Cmd_Set, false)",
                                     "Host.SetEnabled(Cmd_Can, false)",
                                     "Host.SetEnabled(Cmd_BGM, false)",
                                     "Host.SetEnabled(Cmd_Set, true)",
                                     "Host.SetEnabled(Cmd_Can, true)",
                                     "Host.SetEnabled(Cmd_BGM, true)",
                                 }));
}

TEST_F(Pelluna_PTest, AButtonDownAndUpOnOneClickableControlDoesWhatItsHandlerDoesAndNothingElseClicks) {
    // Where the button goes down and up (a Command button clicks by itself), and the handler that makes the
    // same calls; none: no call at all.
    const struct {
        std::optional<C> down, up;
        void (*handler)(Pelluna_P&);
    } cases[] = {
        {C::Img_BGM0, C::Img_BGM0, [](Pelluna_P& p) { p.Img_BGM_Click(0); }},
        {C::Img_BGM1, C::Img_BGM1, [](Pelluna_P& p) { p.Img_BGM_Click(1); }},
        {C::Img_BGM2, C::Img_BGM2, [](Pelluna_P& p) { p.Img_BGM_Click(2); }},
        {C::lbl_BGM0, C::lbl_BGM0, [](Pelluna_P& p) { p.lbl_BGM_Click(0); }},
        {C::lbl_BGM1, C::lbl_BGM1, [](Pelluna_P& p) { p.lbl_BGM_Click(1); }},
        {C::lbl_BGM2, C::lbl_BGM2, [](Pelluna_P& p) { p.lbl_BGM_Click(2); }},
        {C::lbl_URL, C::lbl_URL, [](Pelluna_P& p) { p.lbl_URL_Click(); }},
        {C::Cmd_Set, C::Cmd_Set, [](Pelluna_P& p) { p.Cmd_Set_Click(); }},
        {C::Cmd_Can, C::Cmd_Can, [](Pelluna_P& p) { p.Cmd_Can_Click(); }},
        {C::Cmd_BGM, C::Cmd_BGM, [](Pelluna_P& p) { p.Cmd_BGM_Click(); }},
        {C::lbl_BGM0, C::lbl_BGM2, nullptr},
        {C::Img_BGM1, C::lbl_BGM1, nullptr},
        {C::lbl_URL, std::nullopt, nullptr},
        {std::nullopt, C::lbl_URL, nullptr},
    };
    std::vector<C> clickable;
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::ControlName(c.down.value_or(C::Form)));
        const bool command = c.down && FindControl(*c.down)->kind == ControlKind::Command;
        if (c.handler && !command) clickable.push_back(*c.down);
        std::vector<std::string> logs[2];
        for (int byHandler = 0; byHandler < 2; ++byHandler) {
            gBgmKind = 9;
            Load();
            fake_.log.Clear();
            if (byHandler) {
                if (c.handler) c.handler(dialog_);
            } else if (command) {
                dialog_.Click(*c.down);
            } else {
                dialog_.MouseDown(c.down);
                dialog_.MouseUp(c.up);
            }
            logs[byHandler] = fake_.log.Calls();
        }
        EXPECT_EQ(logs[0].empty(), c.handler == nullptr);
        EXPECT_EQ(logs[0], logs[1]);
    }
    EXPECT_THAT(clickable, ::testing::ElementsAreArray(kClickable));
    // A press makes one click: a second release on its control makes none.
    dialog_.MouseDown(C::lbl_URL);
    dialog_.MouseUp(C::lbl_URL);
    fake_.log.Clear();
    dialog_.MouseUp(C::lbl_URL);
    EXPECT_TRUE(fake_.log.Calls().empty());
}

TEST_F(Pelluna_PTest, ThePointerIsTheHandOverTheAddressAndTheHourglassAnywhereWhileItOpens) {
    const std::optional<C> places[] = {C::lbl_URL, C::lbl_BGM0, C::Img_BGM2, std::nullopt};
    std::vector<MousePointer> pointers, whileOpening;
    for (const auto& over : places) pointers.push_back(dialog_.PointerOver(over));
    shell_.whileOpening = [&] {
        for (const auto& over : places) whileOpening.push_back(dialog_.PointerOver(over));
    };
    dialog_.lbl_URL_Click();
    using P = MousePointer;
    EXPECT_EQ(pointers, (std::vector{P::PointingHand, P::Default, P::Default, P::Default}));
    EXPECT_EQ(whileOpening, std::vector<P>(4, P::Hourglass));
    EXPECT_EQ(dialog_.PointerOver(C::lbl_URL), P::PointingHand);
}

TEST(DialogFonts, TheJapaneseTextsTakeTheDesignFontTheOthersTheMessageFontAndTheButtonsItShrunkByTheGrowth) {
    const FontObject gothic{L"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};
    const FontObject message{L"Tahoma", 8.25, 700, true, true, true, 1};
    const struct {
        DialogFont font;
        double growth;
        FontObject text, command;
    } cases[] = {
        {DialogFont::Japanese, 1.0, gothic, gothic},
        {DialogFont::Japanese, 1.5, gothic, {L"ＭＳ Ｐゴシック", 6.5, 400, false, false, false, 128}},
        {DialogFont::SystemMessage, 1.0, message, {L"Tahoma", 8.25, 700, false, false, false, 1}},
        {DialogFont::SystemMessage, 1.25, message, {L"Tahoma", 6.6, 700, false, false, false, 1}},
    };
    for (const auto& c : cases) {
        const FontObject text = DialogTextFont(c.font, message);
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(DialogCommandFont(text, c.growth), c.command);
    }
}

TEST_F(Pelluna_PTest, TheAddressOpensWithTheHourglassAroundIt) {
    dialog_.lbl_URL_Click();
    EXPECT_EQ(fake_.log.Calls(),
              (std::vector<std::string>{
                  "Host.SetMousePointer(Hourglass)",
                  "ShellExecuteA(53665, \"open\", \"https://pelluna.example.org/\", \"\", \"\", 1)",
                  "Host.SetMousePointer(Default)",
              }));
}

TEST_F(Pelluna_PTest, AFailedWriteStopsTheSaveIsToldAndKeepsTheDialogOpen) {
    fake_.kernel.systemMessages[5] = L"アクセスが拒否されました。\r\n";
    for (int failing = 1; failing <= 6; ++failing) {
        for (const std::uint32_t error : {5u, 1234u}) {
            SCOPED_TRACE(std::to_string(failing) + " " + std::to_string(error));
            fake_.kernel.failingWrite = failing;
            fake_.kernel.writeCount = 0;
            fake_.kernel.writeError = error;
            fake_.user.messageBoxTexts.clear();
            Load();
            dialog_.Cmd_Set_Click();
            EXPECT_EQ(Writes().size(), static_cast<std::size_t>(failing));
            EXPECT_EQ(fake_.log.Calls().back(), "MessageBoxW(53665, 16)");
            const std::wstring reason = error == 5 ? L"アクセスが拒否されました。" : L"ｴﾗｰ 1234";
            EXPECT_EQ(
                fake_.user.messageBoxTexts,
                std::vector<std::wstring>{L"設定を保存できませんでした。\n\nC:\\Program Files\\Pelluna\\"
                                          L"Pelluna.ini\n\n" +
                                          reason});
            EXPECT_FALSE(host_.unloaded);
            EXPECT_EQ(gApiResult, 0);
        }
    }
    // A folder whose name no save can pass to the system is told as such, and nothing is tried.
    fake_.kernel.moduleFileName = L"C:\\雨\U0001F327\\Pelluna.scr";
    fake_.user.messageBoxTexts.clear();
    Load();
    dialog_.Cmd_Set_Click();
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(fake_.user.messageBoxTexts,
              std::vector<std::wstring>{
                  L"設定を保存できませんでした。\n\nC:\\雨\U0001F327\\Pelluna.ini\n\n"
                  L"このﾌｫﾙﾀﾞの名前はこのｼｽﾃﾑでは使えません。別のﾌｫﾙﾀﾞにｲﾝｽﾄｰﾙしてください。"});
    EXPECT_FALSE(host_.unloaded);
}

TEST_F(Pelluna_PTest, AChosenPathTheSettingsFileCannotKeepIsRefusedWithAMessage) {
    const std::string folder = "C:\\";
    const struct {
        std::string chosen;
        const wchar_t* refusal;  // null: kept
    } cases[] = {
        {folder + std::string(248, 'a') + ".mp3", nullptr},  // 255 bytes
        {folder + std::string(249, 'a') + ".mp3", L"このﾌｧｲﾙは選べません。ﾊﾟｽが255ﾊﾞｲﾄを超えています。"},
        {folder + std::string(246, '\x89') + "ab.wav", nullptr},  // 255 bytes, 132 characters
        {folder + "?.mp3", L"このﾌｧｲﾙは選べません。ﾊﾟｽにこのｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があります。"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.chosen.size());
        gBgmFile = L"D:\\old.mp3";
        fake_.user.messageBoxTexts.clear();
        Load();
        host_.texts[C::lbl_Fname] = gBgmFile;
        dialogs_.chosenFile = c.chosen;
        dialog_.Cmd_BGM_Click();
        const std::wstring path = fake_.text.FromAnsi(c.chosen);
        EXPECT_EQ(gBgmFile, c.refusal ? L"D:\\old.mp3" : path);
        EXPECT_EQ(host_.texts[C::lbl_Fname], gBgmFile);
        EXPECT_EQ(fake_.user.messageBoxTexts, c.refusal
                                                  ? std::vector<std::wstring>{c.refusal + (L"\n\n" + path)}
                                                  : std::vector<std::wstring>{});
    }
}

TEST_F(Pelluna_PTest, TabWalksTheEnabledControlsAndTheFocusComesBackOnActivation) {
    const struct {
        std::optional<C> from;
        bool backwards;
        std::int16_t kind;  // 0 disables the track list and "..."; the music kind's stop is its chosen row
        C to;
    } cases[] = {
        {std::nullopt, false, 1, C::HS_Num},   {std::nullopt, true, 1, C::Cmd_Can},
        {C::HS_Num, false, 1, C::HS_Fast},     {C::lbl_BGM1, false, 1, C::BGM_Repeat},
        {C::BGM_Repeat, false, 1, C::Cmd_Set}, {C::Cmd_Set, false, 1, C::Cmd_Can},
        {C::Cmd_Can, false, 1, C::HS_Num},     {C::HS_Num, true, 1, C::Cmd_Can},
        {C::lbl_BGM0, false, 0, C::Cmd_Set},   {C::Cmd_Set, true, 0, C::lbl_BGM0},
        {C::lbl_BGM2, false, 2, C::Cmd_BGM},   {C::Cmd_Set, true, 2, C::Cmd_BGM},
        {C::HS_Size, false, 2, C::lbl_BGM2},   {C::lbl_BGM0, true, 0, C::HS_Size},
        {C::HS_Size, false, 7, C::lbl_BGM1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::ControlName(c.to));
        dialog_.lbl_BGM_Click(c.kind);
        host_.focus = c.from;
        EXPECT_TRUE(dialog_.KeyDown(win::VK_TAB, c.backwards ? 1 : 0));
        EXPECT_EQ(host_.focus, c.to);
    }
    // The drops bar first; after that, the control that had the focus when the window was left.
    dialog_.Activate();
    EXPECT_EQ(host_.focus, C::HS_Num);
    host_.focus = C::Cmd_Can;
    dialog_.Deactivate();
    host_.focus.reset();
    dialog_.Activate();
    EXPECT_EQ(host_.focus, C::Cmd_Can);
    // A choice that disables the focused control hands the focus on.
    host_.focus = C::BGM_Repeat;
    dialog_.lbl_BGM_Click(0);
    EXPECT_EQ(host_.focus, C::Cmd_Set);
}

TEST_F(Pelluna_PTest, ArrowsInTheMusicKindChooseTheRowsInScreenOrderAndSpaceTheFocusedOne) {
    const struct {
        std::int16_t kind;
        C focus;
        int key;
        std::int16_t chosen;  // the rows top to bottom: 1, 0, 2
    } cases[] = {
        {0, C::lbl_BGM0, win::VK_UP, 1},    {0, C::lbl_BGM0, win::VK_DOWN, 2},
        {1, C::lbl_BGM1, win::VK_UP, 2},    {2, C::lbl_BGM2, win::VK_DOWN, 1},
        {0, C::lbl_BGM0, win::VK_LEFT, 1},  {0, C::lbl_BGM0, win::VK_RIGHT, 2},
        {7, C::lbl_BGM1, win::VK_SPACE, 1}, {7, C::lbl_BGM1, win::VK_DOWN, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " from " + testing::ControlName(c.focus));
        gBgmKind = c.kind;
        Load();
        host_.focus = c.focus;
        EXPECT_TRUE(dialog_.KeyDown(static_cast<std::int16_t>(c.key), 0));
        EXPECT_EQ(gBgmKind, c.chosen);
        EXPECT_EQ(host_.focus, (std::array{C::lbl_BGM0, C::lbl_BGM1, C::lbl_BGM2}[c.chosen]));
    }
}

TEST_F(Pelluna_PTest, EnterActsForTheFocusedButtonOrSavesAndEscapeCancels) {
    const struct {
        int key;
        std::optional<C> focus;
        bool droppedDown;
        bool handled, chooser, unloaded;
        std::size_t writes;
    } cases[] = {
        {win::VK_RETURN, C::Cmd_Set, false, true, false, true, 6},
        {win::VK_RETURN, C::Cmd_Can, false, true, false, true, 0},
        {win::VK_RETURN, C::Cmd_BGM, false, true, true, false, 0},
        {win::VK_RETURN, C::HS_Fast, false, true, false, true, 6},
        {win::VK_RETURN, std::nullopt, false, true, false, true, 6},
        {win::VK_RETURN, C::BGM_Repeat, true, false, false, false, 0},
        {win::VK_ESCAPE, C::Cmd_Set, false, true, false, true, 0},
        {win::VK_ESCAPE, C::BGM_Repeat, true, false, false, false, 0},
        {win::VK_LEFT, C::HS_Num, false, false, false, false, 0},
        // Space on a button: pressed while held, acting as Enter does when let go.
        {win::VK_SPACE, C::Cmd_Set, false, true, false, true, 6},
        {win::VK_SPACE, C::Cmd_Can, false, true, false, true, 0},
        {win::VK_SPACE, C::Cmd_BGM, false, true, true, false, 0},
        {win::VK_SPACE, C::HS_Fast, false, false, false, false, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.key) + " " + (c.focus ? testing::ControlName(*c.focus) : "none"));
        gBgmKind = 2;
        Load();
        host_.unloaded = false;
        host_.focus = c.focus;
        host_.droppedDown = c.droppedDown;
        fake_.log.Clear();
        EXPECT_EQ(dialog_.KeyDown(static_cast<std::int16_t>(c.key), 0), c.handled);
        if (c.key == win::VK_SPACE) {
            EXPECT_EQ(fake_.log.Calls().size(), c.handled ? 1u : 0u);  // the pressed look, nothing more
            EXPECT_EQ(dialog_.KeyUp(win::VK_SPACE), c.handled);
            EXPECT_EQ(fake_.log.CallsTo("Host.ShowPressed(" + testing::ControlName(*c.focus) + ", ").size(),
                      c.handled ? 2u : 0u);
        }
        EXPECT_EQ(fake_.log.CallsTo("GetOpenFileNameA").size(), c.chooser ? 1u : 0u);
        EXPECT_EQ(host_.unloaded, c.unloaded);
        EXPECT_EQ(Writes().size(), c.writes);
    }
    // Another key while Space is held takes the press back.
    host_.unloaded = false;
    host_.focus = C::Cmd_Set;
    dialog_.KeyDown(win::VK_SPACE, 0);
    dialog_.KeyDown(win::VK_TAB, 0);
    EXPECT_FALSE(dialog_.KeyUp(win::VK_SPACE));
    EXPECT_FALSE(host_.unloaded);
}

TEST_F(Pelluna_PTest, ShadeLevelRisesFromTheEdgesToTheMiddle) {
    // |sin(y / (H / 3.142))| x 220, worked out by hand for the dialog (315) and the panels (145, 105).
    const struct {
        std::int32_t height, y, level;
    } cases[] = {
        {315, 0, 0},    {315, 1, 2},    {315, 50, 105}, {315, 157, 220}, {315, 314, 2},  {315, 315, 0},
        {315, 80, 158},  // 157 with pi in place of 3.142
        {145, 10, 47},  {145, 72, 220}, {145, 144, 5},  {105, 50, 219},  {105, 52, 220}, {105, 105, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShadeLevel(c.y, c.height), c.level) << c.height << " " << c.y;
    }
    EXPECT_EQ(ShadeLevel(0, 0), std::nullopt);
    EXPECT_EQ(DialogShade(0), Rgb(30, 30, 30));
    EXPECT_EQ(DialogShade(220), Rgb(250, 250, 250));
    EXPECT_EQ(PanelShade(0), Rgb(0, 0, 30));
    EXPECT_EQ(PanelShade(220), Rgb(220, 220, 250));
}

TEST_F(Pelluna_PTest, ResizeShadesTheDialogThenBothPanelsRowByRow) {
    dialog_.Resize();
    EXPECT_EQ(fake_.log.Calls(), (std::vector<std::string>{"Host.ClientSize(Form)", "Host.ClientSize(Pic_C0)",
                                                           "Host.ClientSize(Pic_C1)"}));
    const struct {
        C surface;
        std::int32_t width, height;
        std::int32_t y;
        ColorRef color;
    } rows[] = {
        {C::Form, 476, 315, 0, Rgb(30, 30, 30)},     {C::Form, 476, 315, 157, Rgb(250, 250, 250)},
        {C::Form, 476, 315, 50, Rgb(135, 135, 135)}, {C::Form, 476, 315, 315, Rgb(30, 30, 30)},
        {C::Form, 476, 315, 80, Rgb(188, 188, 188)},  // 187 with pi in place of 3.142
        {C::Pic_C0, 441, 145, 0, Rgb(0, 0, 30)},     {C::Pic_C0, 441, 145, 72, Rgb(220, 220, 250)},
        {C::Pic_C1, 345, 105, 10, Rgb(65, 65, 95)},  {C::Pic_C1, 345, 105, 105, Rgb(0, 0, 30)},
    };
    for (const auto& r : rows) {
        const auto& lines = host_.lines[r.surface];
        ASSERT_EQ(lines.size(), static_cast<std::size_t>(r.height + 1));
        EXPECT_EQ(lines[static_cast<std::size_t>(r.y)],
                  (testing::FakeDialogHost::DrawnLine{0, r.y, r.width, r.y, r.color}))
            << testing::ControlName(r.surface) << " row " << r.y;
    }
}

}  // namespace
}  // namespace pelluna
