// The version resource of the shipped Pelluna.scr as the system reads it: numbers, names, nothing personal.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pelluna::win32 {
namespace {

// The built Pelluna.scr, one folder above the test program.
std::wstring ShippedProgram() {
    wchar_t path[MAX_PATH];
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length < MAX_PATH ? length : 0);
    folder = folder.substr(0, folder.find_last_of(L'\\'));
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + L"Pelluna.scr";
}

class VersionInfoWin : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::wstring program = ShippedProgram();
        DWORD ignored = 0;
        const DWORD size = ::GetFileVersionInfoSizeW(program.c_str(), &ignored);
        ASSERT_GT(size, 0u) << "no version resource in Pelluna.scr";
        data_.resize(size);
        ASSERT_TRUE(::GetFileVersionInfoW(program.c_str(), 0, size, data_.data()));
    }

    // The string value of the US English, Unicode table; nothing when the name is not there.
    bool Text(const wchar_t* name, std::wstring& value) {
        const std::wstring path = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
        void* found = nullptr;
        UINT length = 0;
        if (!::VerQueryValueW(data_.data(), path.c_str(), &found, &length) || found == nullptr) return false;
        value.assign(static_cast<const wchar_t*>(found), length > 0 ? length - 1 : 0);
        return true;
    }

    std::vector<unsigned char> data_;
};

TEST_F(VersionInfoWin, FixedPartIsVersionOneOfAnApplication) {
    void* found = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(data_.data(), L"\\", &found, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(found);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u);  // 1.0
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000000u);  // .0.0
    EXPECT_EQ(fixed->dwProductVersionMS, 0x00010000u);
    EXPECT_EQ(fixed->dwProductVersionLS, 0x00000000u);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
    EXPECT_EQ(fixed->dwFileFlags & fixed->dwFileFlagsMask, 0u) << "a debug, pre-release or patched build";
}

TEST_F(VersionInfoWin, StringsNameTheProductAndNoCompanyOrPerson) {
    struct Expected {
        const wchar_t* name;
        const wchar_t* value;  // nullptr: the name must be absent
    };
    const Expected table[] = {
        {L"ProductName", L"Pelluna"},
        {L"FileDescription", L"Pelluna screen saver"},
        {L"FileVersion", L"1.0.0"},
        {L"ProductVersion", L"1.0.0"},
        {L"OriginalFilename", L"Pelluna.scr"},
        {L"CompanyName", nullptr},
        {L"LegalCopyright", nullptr},
        {L"LegalTrademarks", nullptr},
    };
    for (const Expected& expected : table) {
        std::wstring value;
        const bool present = Text(expected.name, value);
        if (expected.value == nullptr) {
            EXPECT_FALSE(present) << "unexpected "
                                  << std::string(expected.name, expected.name + wcslen(expected.name));
        } else {
            ASSERT_TRUE(present) << "missing "
                                 << std::string(expected.name, expected.name + wcslen(expected.name));
            EXPECT_EQ(value, expected.value);
        }
    }
}

}  // namespace
}  // namespace pelluna::win32
