// The settings store against the fake profile API: path, reading, writing, and loading with its defaults.
#include "settings/SettingsStore.h"

#include <gtest/gtest.h>

#include "FakePlatform.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using testing::FakePlatform;

constexpr const char* kIni = "C:\\Program Files\\Pelluna\\Pelluna.ini";

class SettingsStoreTest : public ::testing::Test {
  protected:
    void SetUp() override { testing::ResetProcessValues(); }
    // An INI file in the program's folder with the given lines under [Section] (ANSI bytes).
    void WriteIni(const std::string& lines) { fake_.kernel.files[kIni] = "[Section]\r\n" + lines; }

    FakePlatform fake_;
    SettingsStore store_{fake_.kernel, fake_.text};
};

TEST_F(SettingsStoreTest, IniFilePathAddsTheFileNameToTheProgramFolder) {
    const struct {
        const wchar_t* program;
        const wchar_t* expected;
    } cases[] = {
        {L"C:\\Program Files\\Pelluna\\Pelluna.scr", L"C:\\Program Files\\Pelluna\\Pelluna.ini"},
        {L"C:\\Pelluna.scr", L"C:\\Pelluna.ini"},
        {L"D:\\スクリーン\\Pelluna.scr", L"D:\\スクリーン\\Pelluna.ini"},
    };
    for (const auto& c : cases) {
        fake_.kernel.moduleFileName = c.program;
        EXPECT_EQ(store_.IniFilePath(), c.expected);
    }
}

TEST(SettingsStorePath, AFolderTheCodePageCannotWriteIsReachedThroughItsShortFormOrNotAtAll) {
    constexpr const wchar_t* kRain = L"C:\\My Savers\\雨 スクリーン";
    constexpr const wchar_t* kRainShort = L"C:\\MYSAVE~1\\4E5C~1";
    const struct {
        unsigned codePage;
        const wchar_t* folder;
        const wchar_t* shortForm;  // none when null
        const wchar_t* expected;
        bool reachable;
    } cases[] = {
        {932, kRain, kRainShort, L"C:\\My Savers\\雨 スクリーン\\Pelluna.ini", true},
        {1252, kRain, kRainShort, L"C:\\MYSAVE~1\\4E5C~1\\Pelluna.ini", true},
        {1252, kRain, nullptr, L"C:\\My Savers\\雨 スクリーン\\Pelluna.ini", false},
        // A volume without short names hands the long form back.
        {1252, kRain, kRain, L"C:\\My Savers\\雨 スクリーン\\Pelluna.ini", false},
        // Code page 932 has only a look-alike for "é": it would name another folder.
        {932, L"C:\\Café", nullptr, L"C:\\Café\\Pelluna.ini", false},
        // The UTF-8 code page writes every name, with the flags and default character it accepts.
        {65001, kRain, nullptr, L"C:\\My Savers\\雨 スクリーン\\Pelluna.ini", true},
        {65001, L"C:\\Café", nullptr, L"C:\\Café\\Pelluna.ini", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.codePage) + " " + std::string(c.expected, c.expected + 12));
        FakePlatform fake(c.codePage);
        fake.kernel.moduleFileName = std::wstring(c.folder) + L"\\Pelluna.scr";
        if (c.shortForm) fake.kernel.shortPaths[c.folder] = c.shortForm;
        SettingsStore store(fake.kernel, fake.text);
        const std::wstring file = store.IniFilePath();
        EXPECT_EQ(file, c.expected);
        EXPECT_EQ(store.CanReach(file), c.reachable);
        // The settings go where they are read from; the ANSI form of a path that cannot be reached may name
        // another file, which is neither read nor written.
        fake.kernel.files[fake.text.ToAnsi(file)] = "[Section]\r\nDropsCount=7\r\n";
        EXPECT_EQ(store.WriteIniValue(L"Section", L"DropsCount", L"40", file), c.reachable);
        EXPECT_EQ(store.ReadIniValue(L"Section", L"DropsCount", file), c.reachable ? L"40" : L"");
    }
}

TEST_F(SettingsStoreTest, ReadIniValuePassesAnEmptyDefaultAnd256ByteBufferInAnsi) {
    fake_.kernel.files["C:\\x.ini"] = "[Section]\r\nBGM\x8B\xE6\x95\xAA= 1\r\n";
    EXPECT_EQ(store_.ReadIniValue(L"Section", L"BGM区分", L"C:\\x.ini"), L"1");
    ASSERT_EQ(fake_.log.Calls().size(), 1u);
    EXPECT_EQ(fake_.log.Calls()[0],
              R"(GetPrivateProfileStringA("Section", "BGM\x8B\xE6\x95\xAA", "", 256, "C:\x5Cx.ini"))");
}

TEST_F(SettingsStoreTest, ReadIniValueCutsAt255AnsiBytes) {
    WriteIni("BGMFile=" + std::string(300, 'a') + "\r\n");
    EXPECT_EQ(store_.ReadIniValue(L"Section", L"BGMFile", L"C:\\Program Files\\Pelluna\\Pelluna.ini"),
              std::wstring(255, L'a'));
    // A double-byte character counts two bytes: 127 of them fill 254 bytes and the next one no longer fits.
    std::string doubleBytes;
    for (int i = 0; i < 150; ++i) doubleBytes += "\x82\xA0";  // あ
    WriteIni("Kana=" + doubleBytes + "\r\n");
    const std::wstring kana =
        store_.ReadIniValue(L"Section", L"Kana", L"C:\\Program Files\\Pelluna\\Pelluna.ini");
    EXPECT_EQ(kana.substr(0, 127), std::wstring(127, L'あ'));
    EXPECT_LE(kana.size(), 128u);
}

TEST_F(SettingsStoreTest, WriteIniValueWritesAnsiBytesAndRecordsTheResult) {
    store_.WriteIniValue(L"Section", L"BGMﾘﾋﾟｰﾄ", L" 3", L"C:\\p\\Pelluna.ini");
    EXPECT_EQ(
        fake_.log.Calls().back(),
        R"(WritePrivateProfileStringA("Section", "BGM\xD8\xCB\xDF\xB0\xC4", " 3", "C:\x5Cp\x5CPelluna.ini"))");
    EXPECT_EQ(gApiResult, 1);
    EXPECT_EQ(fake_.kernel.files["C:\\p\\Pelluna.ini"], "[Section]\r\nBGM\xD8\xCB\xDF\xB0\xC4= 3\r\n");

    fake_.kernel.folders.insert("C:\\folder");
    store_.WriteIniValue(L"Section", L"DropsCount", L" 3", L"C:\\folder");
    EXPECT_EQ(gApiResult, 0);
}

TEST_F(SettingsStoreTest, WriteIniValueLimitsNamesTo127Bytes) {
    store_.WriteIniValue(std::wstring(200, L's'), std::wstring(130, L'k'), L"v", L"C:\\n.ini");
    EXPECT_EQ(fake_.log.Calls().back(), "WritePrivateProfileStringA(\"" + std::string(127, 's') + "\", \"" +
                                            std::string(127, 'k') + "\", \"v\", \"C:\\x5Cn.ini\")");
}

TEST_F(SettingsStoreTest, FileExistsOpensForReadingWithoutOneTrailingBackslash) {
    fake_.kernel.files["C:\\music\\song.mp3"] = "ID3";
    EXPECT_TRUE(store_.FileExists(L"C:\\music\\song.mp3"));
    EXPECT_EQ(fake_.log.Calls()[0], R"(CreateFileA("C:\x5Cmusic\x5Csong.mp3", 2147483648, 1, 3))");
    EXPECT_EQ(fake_.log.CallsTo("CloseHandle").size(), 1u);
    EXPECT_TRUE(store_.FileExists(L"C:\\music\\song.mp3\\"));
    EXPECT_FALSE(store_.FileExists(L"C:\\music\\song.mp3\\\\"));
    EXPECT_FALSE(store_.FileExists(L"C:\\music\\other.mp3"));
    EXPECT_FALSE(store_.FileExists(L""));
    EXPECT_EQ(fake_.log.CallsTo("CloseHandle").size(), 2u);
}

TEST_F(SettingsStoreTest, WithoutAnIniFileEverySettingHasItsDefault) {
    gDropsCount = 7;
    gBgmKind = 2;
    gBgmFile = L"old";
    store_.LoadSettings();
    EXPECT_EQ(gDropsCount, 25);
    EXPECT_EQ(gRippleSpeed, 100.0f);
    EXPECT_EQ(gRippleSize, 100.0f);
    EXPECT_EQ(gFallSpeed, 800.0f);
    EXPECT_EQ(gFallAngle, -1.56f);
    EXPECT_EQ(gBgmKind, 0);
    EXPECT_EQ(gBgmRepeatTrack, 0);
    EXPECT_EQ(gBgmFile, L"");
}

TEST_F(SettingsStoreTest, LoadSettingsReadsTheKeysInOrderFromTheProgramFolder) {
    store_.LoadSettings();
    const std::vector<std::string> reads = fake_.log.CallsTo("GetPrivateProfileStringA");
    const char* keys[] = {"DropsCount",
                          "RippleSpeed",
                          "RippleSize",
                          "BGM\\x8B\\xE6\\x95\\xAA",
                          "BGM\\xD8\\xCB\\xDF\\xB0\\xC4",
                          "BGM\\xCC\\xA7\\xB2\\xD9"};
    ASSERT_EQ(reads.size(), std::size(keys));
    for (std::size_t i = 0; i < reads.size(); ++i) {
        EXPECT_EQ(reads[i], std::string("GetPrivateProfileStringA(\"Section\", \"") + keys[i] +
                                "\", \"\", 256, \"C:\\x5CProgram Files\\x5CPelluna\\x5CPelluna.ini\")");
    }
}

TEST_F(SettingsStoreTest, NumbersConvertLenientlyAndBadTextKeepsThePreviousValue) {
    const struct {
        std::string line;
        std::int32_t previous;
        std::int32_t expected;
    } dropsCases[] = {
        {"DropsCount=abc", 0, 0},        {"DropsCount=", 0, 25},
        {"DropsCount= 30", 0, 30},       {"DropsCount=30 ", 0, 30},
        {"DropsCount=2.5", 0, 2},        {"DropsCount=3.5", 0, 4},
        {"DropsCount=-0", 9, 0},         {"DropsCount=1e40", 9, 9},
        {"DropsCount=2147483648", 9, 9}, {"DropsCount=-2147483648", 9, -2147483647 - 1},
        {"DropsCount=&H10", 9, 9},       {"DropsCount=12abc", 9, 9},
        {"DropsCount=\xFF\xFE", 9, 9},   {"DropsCount=1e2", 9, 100},
    };
    for (const auto& c : dropsCases) {
        WriteIni(c.line + "\r\n");
        gDropsCount = c.previous;
        store_.LoadSettings();
        EXPECT_EQ(gDropsCount, c.expected) << c.line;
    }
}

TEST_F(SettingsStoreTest, RippleNumbersAreSinglesAndOutOfRangeKeepsThePreviousValue) {
    WriteIni("RippleSpeed= 120.5\r\nRippleSize=-7\r\n");
    store_.LoadSettings();
    EXPECT_EQ(gRippleSpeed, 120.5f);
    EXPECT_EQ(gRippleSize, -7.0f);
    WriteIni("RippleSpeed=1e40\r\nRippleSize=x\r\n");
    store_.LoadSettings();
    EXPECT_EQ(gRippleSpeed, 120.5f);
    EXPECT_EQ(gRippleSize, -7.0f);
}

TEST_F(SettingsStoreTest, MusicKindAndRepeatTrackTakeTheFloorAsSixteenBits) {
    const struct {
        std::string kind;
        std::int16_t expected;
    } cases[] = {{"1.9", 1}, {"-0.5", -1}, {"32767.9", 32767}, {"32768", 7}, {"-32769", 7},
                 {"abc", 7}, {"", 0}};
    for (const auto& c : cases) {
        WriteIni("BGM\x8B\xE6\x95\xAA=" + c.kind + "\r\nBGM\xD8\xCB\xDF\xB0\xC4=" + c.kind + "\r\n");
        gBgmKind = 7;
        gBgmRepeatTrack = 7;
        store_.LoadSettings();
        EXPECT_EQ(gBgmKind, c.expected) << c.kind;
        EXPECT_EQ(gBgmRepeatTrack, c.expected) << c.kind;
    }
}

TEST_F(SettingsStoreTest, AMusicFileThatCannotBeOpenedTurnsFileMusicOff) {
    const struct {
        const char* kind;
        const char* file;
        bool exists;
        std::int16_t expectedKind;
        const wchar_t* expectedFile;
    } cases[] = {
        {"2", "C:\\music\\song.mp3", true, 2, L"C:\\music\\song.mp3"},
        {"2", "C:\\music\\gone.mp3", false, 0, L""},
        {"1", "C:\\music\\gone.mp3", false, 1, L""},
        {"0", "C:\\music\\gone.mp3", false, 0, L""},
        {"2", "", false, 0, L""},
        {"1", "", false, 1, L""},
        {"2", "C:\\music\\song.mp3\\", true, 2, L"C:\\music\\song.mp3\\"},
        {"2", "C:\\\x8B\xC8\\\x89\xB9.mp3", true, 2, L"C:\\曲\\音.mp3"},
    };
    for (const auto& c : cases) {
        fake_.kernel.files.clear();
        if (c.exists) {
            std::string path = c.file;
            if (path.back() == '\\') path.pop_back();
            fake_.kernel.files[path] = "data";
        }
        WriteIni(std::string("BGM\x8B\xE6\x95\xAA=") + c.kind + "\r\nBGM\xCC\xA7\xB2\xD9=" + c.file + "\r\n");
        store_.LoadSettings();
        EXPECT_EQ(gBgmKind, c.expectedKind) << c.kind << " " << c.file;
        EXPECT_EQ(gBgmFile, c.expectedFile) << c.kind << " " << c.file;
    }
}

TEST_F(SettingsStoreTest, AMusicPathLongerThan255BytesIsCutAndThenFailsTheExistenceTest) {
    const std::string longPath = "C:\\" + std::string(297, 'm') + ".mp3";
    fake_.kernel.files[longPath] = "data";
    WriteIni("BGM\x8B\xE6\x95\xAA=2\r\nBGM\xCC\xA7\xB2\xD9=" + longPath + "\r\n");
    store_.LoadSettings();
    EXPECT_EQ(fake_.log.CallsTo("CreateFileA").back(),
              "CreateFileA(\"C:\\x5C" + std::string(252, 'm') + "\", 2147483648, 1, 3)");
    EXPECT_EQ(gBgmKind, 0);
    EXPECT_EQ(gBgmFile, L"");
}

}  // namespace
}  // namespace pelluna
