// Start-up: the single-instance guard, the mode dispatch table and the screen-saver-running flag.
#include "startup/Main.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using ::testing::ElementsAre;
using testing::FakePlatform;
using testing::ProcessExit;

// Records which mode window start-up opened, in the same log as the ports.
class RecordingModes final : public ModeEntries {
  public:
    explicit RecordingModes(testing::CallLog& log) : log_(log) {}
    void ShowPreview(std::int32_t hHost) override { log_.Add("ShowPreview(" + std::to_string(hHost) + ")"); }
    void ShowSettingsDialog() override { log_.Add("ShowSettingsDialog()"); }
    void LoadSaverWindow() override { log_.Add("LoadSaverWindow()"); }

  private:
    testing::CallLog& log_;
};

constexpr const char* kFindSaver = R"(FindWindowA(null, "Pelluna_Main"))";
constexpr const char* kFindDialog = R"(FindWindowA(null, "Pelluna\x82\xCC\x90\xDD\x92\xE8"))";
constexpr const char* kReadsSettings = "GetModuleFileNameW()";
constexpr const char* kHideCursor = "ShowCursor(0)";
constexpr const char* kSaverRunning = "SystemParametersInfoA(97, 4294967295, null, 0)";
constexpr const char* kExit = "ExitProcess(0)";

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
        {L"/s", {kFindSaver, kFindDialog, kReadsSettings, kHideCursor, kSaverRunning, "LoadSaverWindow()"}},
        {L"/S", {kFindSaver, kFindDialog, kReadsSettings, kHideCursor, kSaverRunning, "LoadSaverWindow()"}},
        {L"-s", {kFindSaver, kFindDialog, kReadsSettings, kHideCursor, kSaverRunning, "LoadSaverWindow()"}},
        {L"xS", {kFindSaver, kFindDialog, kReadsSettings, kHideCursor, kSaverRunning, "LoadSaverWindow()"}},
        {L"/Sfoo",
         {kFindSaver, kFindDialog, kReadsSettings, kHideCursor, kSaverRunning, "LoadSaverWindow()"}},
        {L"", {kFindSaver, kFindDialog, kReadsSettings, "LoadSaverWindow()"}},
        {L"/c:1234", {kFindSaver, kFindDialog, kReadsSettings, "ShowSettingsDialog()", kExit}},
        {L"/C", {kFindSaver, kFindDialog, kReadsSettings, "ShowSettingsDialog()", kExit}},
        {L"/p 1234", {kFindSaver, kFindDialog, "ShowPreview(1234)"}},
        {L"/p:1234", {kFindSaver, kFindDialog, "ShowPreview(1234)"}},
        {L"/P  77x", {kFindSaver, kFindDialog, "ShowPreview(77)"}},
        {L"/p", {kFindSaver, kFindDialog, "ShowPreview(0)"}},
        {L"/p abc", {kFindSaver, kFindDialog, "ShowPreview(0)"}},
        {L"/p 99999999999", {kFindSaver, kFindDialog, "ShowPreview(0)"}},
        {L"/a", {kFindSaver, kFindDialog, kReadsSettings, kExit}},
        {L"/", {kFindSaver, kFindDialog, kReadsSettings, kExit}},
        {L"/ｓ", {kFindSaver, kFindDialog, kReadsSettings, kExit}},
    };
    for (const auto& row : rows) {
        fake_.log.Clear();
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
}

TEST_F(MainTest, GuardMakesBothSearchesAndEndsWhenEitherWindowExists) {
    const struct {
        bool saverOpen;
        bool dialogOpen;
    } cases[] = {{true, false}, {false, true}, {true, true}};
    for (const auto& c : cases) {
        for (const wchar_t* commandLine : {L"/s", L"/p 1234", L"/c", L""}) {
            FakePlatform fake;
            if (c.saverOpen) fake.user.windowsByTitle["Pelluna_Main"] = 0x111;
            if (c.dialogOpen) fake.user.windowsByTitle["Pelluna\x82\xCC\x90\xDD\x92\xE8"] = 0x222;
            RecordingModes modes(fake.log);
            EXPECT_THROW(Main(commandLine, fake.ports, modes), ProcessExit);
            EXPECT_THAT(fake.log.Calls(), ElementsAre(kFindSaver, kFindDialog, kExit));
        }
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
