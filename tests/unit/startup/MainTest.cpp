// Start-up: the single-instance guard, the mode dispatch table and the screen-saver-running flag.
#include "startup/Main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "RecordingModes.h"
#include "saver/SaverMode.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using testing::RecordingModes;

using ::testing::ElementsAre;
using testing::FakePlatform;
using testing::ProcessExit;
using Calls = std::vector<std::string>;

constexpr const char* kFindSaver = R"(FindWindowA(null, "Pelluna_Main"))";
constexpr const char* kFindDialog = R"(FindWindowA(null, "Pelluna\x82\xCC\x90\xDD\x92\xE8"))";
constexpr const char* kFindEnglishDialog = R"(FindWindowA(null, "Pelluna Settings"))";
constexpr const char* kReadsSettings = "GetModuleFileNameW()";
constexpr const char* kHideCursor = "ShowCursor(0)";
constexpr const char* kSaverRunning = "SystemParametersInfoA(97, 4294967295, null, 0)";
constexpr const char* kExit = "ExitProcess(0)";
constexpr const char* kClaim = R"(CreateMutexA(null, false, "Pelluna_SaverOrSettingsRunning"))";
constexpr const char* kLastError = "GetLastError()";
constexpr const char* kLook = R"(OpenMutexA(1048576, false, "Pelluna_SaverOrSettingsRunning"))";

class MainTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetProcessValues(); }

    // Runs Main and returns the calls that matter to the dispatch (settings reads folded into one line).
    std::vector<std::string> Run(std::wstring_view commandLine) {
        try {
            Main(commandLine, fake_.ports, modes_);
        } catch (const ProcessExit&) {
        }
        std::vector<std::string> calls;
        for (const std::string& call : fake_.log.Calls()) {
            if (call.rfind("GetPrivateProfileStringA", 0) == 0 || call.rfind("CreateFileA", 0) == 0) continue;
            calls.push_back(call);
        }
        return calls;
    }

    FakePlatform fake_;
    RecordingModes modes_{fake_.log};
};

TEST_F(MainTest, DispatchTable) {
    const struct {
        const wchar_t* commandLine;
        std::vector<std::string> calls;
    } rows[] = {
        {L"/s",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings, kHideCursor,
          kSaverRunning, "LoadSaverWindow()"}},
        {L"/S",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings, kHideCursor,
          kSaverRunning, "LoadSaverWindow()"}},
        {L"-s",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings, kHideCursor,
          kSaverRunning, "LoadSaverWindow()"}},
        {L"xS",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings, kHideCursor,
          kSaverRunning, "LoadSaverWindow()"}},
        {L"/Sfoo",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings, kHideCursor,
          kSaverRunning, "LoadSaverWindow()"}},
        // No arguments, as Explorer's Configure starts a .scr: the settings.
        {L"",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings,
          "ShowSettingsDialog()", kExit}},
        {L" \t",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings,
          "ShowSettingsDialog()", kExit}},
        {L"/c:1234",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings,
          "ShowSettingsDialog()", kExit}},
        {L"/C",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kReadsSettings,
          "ShowSettingsDialog()", kExit}},
        {L"/p 1234", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(1234)"}},
        {L"/p:1234", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(1234)"}},
        {L"/P  77x", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(77)"}},
        {L"/p", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(0)"}},
        {L"/p abc", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(0)"}},
        // The low 32 bits, sign-extended, of a whole number up to 64 bits wide; a fraction is rounded.
        {L"/p 99999999999", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(1215752191)"}},
        {L"/p 4294967295", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(-1)"}},
        {L"/p 18446744071562067968",
         {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(-2147483648)"}},
        {L"/p 18446744073709551616", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(0)"}},
        {L"/p 1234.5", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, "ShowPreview(1234)"}},
        {L"/a", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, kReadsSettings, kExit}},
        {L"/", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, kReadsSettings, kExit}},
        {L"/ｓ", {kFindSaver, kFindDialog, kFindEnglishDialog, kLook, kReadsSettings, kExit}},
    };
    for (const auto& row : rows) {
        fake_.log.Clear();
        fake_.kernel.mutexes.clear();  // each row is a process of its own, started alone
        EXPECT_EQ(Run(row.commandLine), row.calls)
            << "command line: " << ::testing::PrintToString(row.commandLine);
    }
}

TEST_F(MainTest, SaverModeKeepsWhatShowCursorReturned) {
    fake_.user.showCursorResult = -1;
    Run(L"/s");
    EXPECT_EQ(gCursorCount, -1);
}

TEST_F(MainTest, SettingsAreLoadedBeforeTheModeWindowOpens) {
    fake_.kernel.files["C:\\Program Files\\Pelluna\\Pelluna.ini"] = "[Section]\r\nDropsCount= 40\r\n";
    Run(L"");
    EXPECT_EQ(gDropsCount, 40);
    EXPECT_EQ(gFallSpeed, 800.0f);
    Run(L"/p 5");
    EXPECT_EQ(fake_.log.CallsTo("GetPrivateProfileStringA").size(), 6u);  // only from the first run

    // A music file that cannot be opened: the saver plays nothing this run, the dialog keeps the choice.
    fake_.kernel.files["C:\\Program Files\\Pelluna\\Pelluna.ini"] =
        "[Section]\r\nBGM\x8B\xE6\x95\xAA=2\r\nBGM\xCC\xA7\xB2\xD9=F:\\rain.mp3\r\n";
    for (const auto& [commandLine, kind, file] :
         {std::tuple{L"/s", 0, L""}, std::tuple{L"/c", 2, L"F:\\rain.mp3"}}) {
        fake_.kernel.mutexes.clear();
        Run(commandLine);
        EXPECT_EQ(gBgmKind, kind) << commandLine;
        EXPECT_EQ(gBgmFile, file) << commandLine;
    }
}

TEST_F(MainTest, GuardEndsEveryModeWhenEitherWindowOrTheMutexOfAStartingSaverExists) {
    const struct {
        bool saverOpen;
        const char* dialogTitle;  // an open dialog's title in code page 932; null: none
        bool mutexHeld;           // a saver or settings process that has not shown its window yet
    } cases[] = {{true, nullptr, true},
                 {false, "Pelluna\x82\xCC\x90\xDD\x92\xE8", true},
                 {true, "Pelluna Settings", true},
                 {false, nullptr, true},
                 {true, nullptr, false},
                 {false, "Pelluna\x82\xCC\x90\xDD\x92\xE8", false},
                 {false, "Pelluna Settings", false}};
    for (const auto& c : cases) {
        for (const wchar_t* commandLine : {L"/s", L"/p 1234", L"/c", L""}) {
            FakePlatform fake;
            if (c.saverOpen) fake.user.windowsByTitle["Pelluna_Main"] = 0x111;
            if (c.dialogTitle) fake.user.windowsByTitle[c.dialogTitle] = 0x222;
            if (c.mutexHeld) fake.kernel.mutexes.insert("Pelluna_SaverOrSettingsRunning");
            RecordingModes modes(fake.log);
            EXPECT_THROW(Main(commandLine, fake.ports, modes), ProcessExit);
            // The empty command line has no second character to look at.
            const bool preview = std::wstring_view(commandLine).starts_with(L"/p");
            EXPECT_EQ(
                fake.log.Calls(),
                (preview ? Calls{kFindSaver, kFindDialog, kFindEnglishDialog, kLook, kExit}
                         : Calls{kFindSaver, kFindDialog, kFindEnglishDialog, kClaim, kLastError, kExit}))
                << ::testing::PrintToString(std::wstring(commandLine));
        }
    }
}

TEST_F(MainTest, OnlyTheSaverAndSettingsModesHoldTheMutexSoPreviewsRunBesideEachOtherAndTheDialog) {
    const struct {
        const wchar_t* first;
        const wchar_t* second;
        bool secondRuns;
    } cases[] = {
        {L"/s", L"/s", false},  {L"/s", L"/c", false},   {L"/c", L"/s", false},
        {L"", L"/S", false},    {L"/s", L"/p 7", false}, {L"/p 7", L"/p 8", true},
        {L"/p 7", L"/c", true}, {L"/p 7", L"/s", true},  {L"/a", L"/s", true},
    };
    for (const auto& c : cases) {
        FakePlatform fake;  // the kernel's mutexes stand for the system's, shared by both processes
        RecordingModes modes(fake.log);
        try {
            Main(c.first, fake.ports, modes);
        } catch (const ProcessExit&) {
        }
        fake.log.Clear();
        try {
            Main(c.second, fake.ports, modes);
        } catch (const ProcessExit&) {
        }
        const bool opened = !fake.log.CallsTo("ShowPreview").empty() ||
                            !fake.log.CallsTo("ShowSettingsDialog").empty() ||
                            !fake.log.CallsTo("LoadSaverWindow").empty();
        EXPECT_EQ(opened, c.secondRuns) << ::testing::PrintToString(std::wstring(c.first)) << " then "
                                        << ::testing::PrintToString(std::wstring(c.second));
    }
}

TEST_F(MainTest, GuardSearchesWithTheTitlesOfTheRunningCodePage) {
    FakePlatform western(1252);
    RecordingModes modes(western.log);
    Main(L"/p 1", western.ports, modes);
    // The Japanese title has no form in code page 1252: the search uses what the window's title became.
    EXPECT_EQ(western.log.Calls()[1], R"(FindWindowA(null, "Pelluna???"))");
}

TEST(EnableSystemKeys, PassesTheComplementOfTheSixteenBitBoolean) {
    const struct {
        std::int16_t bEnable;
        const char* call;
    } cases[] = {
        {0, "SystemParametersInfoA(97, 4294967295, null, 0)"},
        {-1, "SystemParametersInfoA(97, 0, null, 0)"},
        {1, "SystemParametersInfoA(97, 4294967294, null, 0)"},
    };
    for (const auto& c : cases) {
        FakePlatform fake;
        EnableSystemKeys(fake.user, c.bEnable);
        EXPECT_THAT(fake.log.Calls(), ElementsAre(c.call));
    }
}

}  // namespace
}  // namespace pelluna
