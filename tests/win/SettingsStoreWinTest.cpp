// The settings store against the real profile API and file system, under the Japanese code page.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/Win32Ports.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

class SettingsStoreWin : public ::testing::Test {
  protected:
    void SetUp() override {
        wchar_t temp[MAX_PATH];
        ::GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"pelluna-settings-" + std::to_wstring(::GetCurrentProcessId());
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        iniPath_ = folder_ + L"\\Pelluna.ini";
        ::DeleteFileW(iniPath_.c_str());
    }
    void TearDown() override {
        ::DeleteFileW(iniPath_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }
    std::string FileBytes() {
        std::ifstream in(std::filesystem::path(iniPath_), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    win32::Win32Kernel kernel_;
    win32::Win32Text text_;
    SettingsStore store_{kernel_, text_};
    std::wstring folder_;
    std::wstring iniPath_;
};

TEST_F(SettingsStoreWin, JapaneseKeyIsStoredInCodePage932AndReadBack) {
    ASSERT_EQ(::GetACP(), 932u) << "run with LC_ALL=ja_JP.UTF-8";
    store_.WriteIniValue(ini::Section, ini::BgmKind, L" 2", iniPath_);
    EXPECT_EQ(gApiResult, 1);
    const std::string bytes = FileBytes();
    EXPECT_NE(bytes.find("\x42\x47\x4D\x8B\xE6\x95\xAA"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("[Section]"), std::string::npos) << bytes;
    EXPECT_EQ(store_.ReadIniValue(ini::Section, ini::BgmKind, iniPath_), L"2");
}

TEST_F(SettingsStoreWin, AllKeysRoundTripThroughTheProfileApi) {
    const std::wstring music = folder_ + L"\\曲 one.mp3";
    { std::ofstream(std::filesystem::path(music), std::ios::binary) << "ID3"; }
    store_.WriteIniValue(ini::Section, ini::DropsCount, L" 30", iniPath_);
    store_.WriteIniValue(ini::Section, ini::RippleSpeed, L" 120", iniPath_);
    store_.WriteIniValue(ini::Section, ini::RippleSize, L" 80", iniPath_);
    store_.WriteIniValue(ini::Section, ini::BgmKind, L" 2", iniPath_);
    store_.WriteIniValue(ini::Section, ini::BgmRepeat, L" 3", iniPath_);
    store_.WriteIniValue(ini::Section, ini::BgmFile, music, iniPath_);

    EXPECT_EQ(store_.ReadIniValue(ini::Section, ini::BgmRepeat, iniPath_), L"3");
    EXPECT_EQ(store_.ReadIniValue(ini::Section, ini::BgmFile, iniPath_), music);
    EXPECT_EQ(store_.ReadIniValue(ini::Section, L"Missing", iniPath_), L"");
    EXPECT_EQ(store_.ReadIniValue(L"Other", ini::DropsCount, iniPath_), L"");
    EXPECT_TRUE(store_.FileExists(music));
    ::DeleteFileW(music.c_str());
}

TEST_F(SettingsStoreWin, ValuesAreCutAt255AnsiBytes) {
    const std::wstring longValue(300, L'x');
    store_.WriteIniValue(ini::Section, ini::BgmFile, longValue, iniPath_);
    EXPECT_EQ(store_.ReadIniValue(ini::Section, ini::BgmFile, iniPath_), std::wstring(255, L'x'));
}

TEST_F(SettingsStoreWin, FileExistsIsFalseForFoldersAndMissingFiles) {
    EXPECT_FALSE(store_.FileExists(folder_));
    EXPECT_FALSE(store_.FileExists(folder_ + L"\\"));
    EXPECT_FALSE(store_.FileExists(folder_ + L"\\missing.mp3"));
    { std::ofstream(std::filesystem::path(iniPath_)) << "[Section]\r\n"; }
    EXPECT_TRUE(store_.FileExists(iniPath_));
    EXPECT_TRUE(store_.FileExists(iniPath_ + L"\\"));
}

TEST_F(SettingsStoreWin, IniFilePathIsBesideTheProgram) {
    wchar_t program[MAX_PATH];
    ::GetModuleFileNameW(nullptr, program, MAX_PATH);
    std::wstring expected(program);
    expected = expected.substr(0, expected.find_last_of(L'\\')) + L"\\Pelluna.ini";
    EXPECT_EQ(store_.IniFilePath(), expected);
}

}  // namespace
}  // namespace pelluna
