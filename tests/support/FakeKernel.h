// Recording fake of the kernel32 port: INI files kept in memory by the system's rules, files, exit.
#pragma once

#include <map>
#include <set>

#include "CallLog.h"
#include "platform/Kernel.h"

namespace pelluna::testing {

// What the fake's ExitProcess throws, so a test sees that and where the process would end.
struct ProcessExit {
    std::uint32_t exitCode;
};

class FakeKernel final : public Kernel {
  public:
    explicit FakeKernel(CallLog& log) : log_(log) {}

    std::wstring moduleFileName = L"C:\\Program Files\\Pelluna\\Pelluna.scr";
    // Files by ANSI path: their bytes. INI files are read and written here with the system's rules.
    std::map<std::string, std::string> files;
    // The short forms GetShortPathNameW gives, by long path; others have none.
    std::map<std::wstring, std::wstring> shortPaths;
    std::set<std::string> folders;
    // The folders GetFileAttributesW finds, by wide path.
    std::set<std::wstring> directories;
    bool logProfileCalls = true;
    // Named mutexes that exist, here or in another process.
    std::set<std::string> mutexes;
    std::uint32_t lastError = 0;
    // From write failingWrite on (writeCount counts them from 1) WritePrivateProfileStringA fails with
    // writeError; 0: never.
    int failingWrite = 0;
    int writeCount = 0;
    std::uint32_t writeError = 5;
    // FormatMessageW's texts by message number.
    std::map<std::uint32_t, std::wstring> systemMessages;
    std::uint16_t uiLanguage = 0x0411;  // Japanese
    std::uint32_t ansiCodePage = 932;

    std::wstring GetModuleFileNameW() override;
    std::wstring GetShortPathNameW(const std::wstring& longPath) override {
        const auto found = shortPaths.find(longPath);
        return found == shortPaths.end() ? std::wstring() : found->second;
    }
    std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultText,
                                           char* returned, std::uint32_t size, const char* fileName) override;
    bool WritePrivateProfileStringA(const char* appName, const char* keyName, const char* text,
                                    const char* fileName) override;
    Handle CreateFileA(const char* fileName, std::uint32_t desiredAccess, std::uint32_t shareMode,
                       std::uint32_t creationDisposition) override;
    bool CloseHandle(Handle handle) override;
    std::uint32_t GetFileAttributesW(const std::wstring& fileName) override;
    int MulDiv(int number, int numerator, int denominator) override;
    Handle CreateMutexA(void* attributes, bool initialOwner, const char* name) override;
    Handle OpenMutexA(std::uint32_t desiredAccess, bool inheritHandle, const char* name) override;
    std::uint32_t GetLastError() override;
    std::uint32_t FormatMessageW(std::uint32_t flags, const void* source, std::uint32_t messageId,
                                 std::uint32_t languageId, wchar_t* buffer, std::uint32_t size) override;
    std::uint16_t GetUserDefaultUILanguage() override { return uiLanguage; }
    std::uint32_t GetACP() override { return ansiCodePage; }
    std::uint32_t* sleepClock = nullptr;  // where a sleep lets its time pass
    void Sleep(std::uint32_t dwMilliseconds) override {
        log_.Add(Call("Sleep", dwMilliseconds));
        if (sleepClock) *sleepClock += dwMilliseconds;
    }
    [[noreturn]] void ExitProcess(std::uint32_t exitCode) override;

  private:
    CallLog& log_;
    Handle nextFile_ = 0xF000;
};

}  // namespace pelluna::testing
