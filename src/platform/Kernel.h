// Port over the kernel32 calls the program makes: its own path, INI files, files, MulDiv, sleeping, ending.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace pelluna {

class Kernel {
  public:
    virtual ~Kernel() = default;

    // Full path of the running executable, as the process reports it.
    virtual std::wstring GetModuleFileNameW() = 0;
    // The short form of an existing path (the volume's 8.3 names where it keeps them); empty on failure.
    virtual std::wstring GetShortPathNameW(const std::wstring& longPath) = 0;
    // All texts are NUL-terminated ANSI; the buffer receives at most size - 1 bytes and a NUL.
    virtual std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                   const char* defaultText, char* returned,
                                                   std::uint32_t size, const char* fileName) = 0;
    virtual bool WritePrivateProfileStringA(const char* appName, const char* keyName, const char* text,
                                            const char* fileName) = 0;
    virtual Handle CreateFileA(const char* fileName, std::uint32_t desiredAccess, std::uint32_t shareMode,
                               std::uint32_t creationDisposition) = 0;
    virtual bool CloseHandle(Handle handle) = 0;
    // The file's or folder's attributes; INVALID_FILE_ATTRIBUTES when there is none.
    virtual std::uint32_t GetFileAttributesW(const std::wstring& fileName) = 0;
    virtual int MulDiv(int number, int numerator, int denominator) = 0;
    // Named mutexes: made or opened (GetLastError tells ERROR_ALREADY_EXISTS), or only looked up.
    virtual Handle CreateMutexA(void* attributes, bool initialOwner, const char* name) = 0;
    virtual Handle OpenMutexA(std::uint32_t desiredAccess, bool inheritHandle, const char* name) = 0;
    virtual std::uint32_t GetLastError() = 0;
    // A message text into buffer (size characters at most, NUL included); the characters written.
    virtual std::uint32_t FormatMessageW(std::uint32_t flags, const void* source, std::uint32_t messageId,
                                         std::uint32_t languageId, wchar_t* buffer, std::uint32_t size) = 0;
    // The user's display language (a LANGID) and the system's ANSI code page.
    virtual std::uint16_t GetUserDefaultUILanguage() = 0;
    virtual std::uint32_t GetACP() = 0;
    // Suspends the thread for the time given, messages or not.
    virtual void Sleep(std::uint32_t dwMilliseconds) = 0;
    // Ends the process at once; never returns.
    [[noreturn]] virtual void ExitProcess(std::uint32_t exitCode) = 0;
};

}  // namespace pelluna
