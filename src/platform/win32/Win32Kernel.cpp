// kernel32 forwards.
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"

#include <vector>

namespace pelluna::win32 {

std::wstring Win32Kernel::GetModuleFileNameW() {
    // Long paths may exceed MAX_PATH: grow until the name fits.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return std::wstring(buffer.data(), length);
        if (buffer.size() >= 32768) return std::wstring(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring Win32Kernel::GetShortPathNameW(const std::wstring& longPath) {
    const DWORD needed = ::GetShortPathNameW(longPath.c_str(), nullptr, 0);
    if (needed == 0) return {};
    std::vector<wchar_t> buffer(needed);
    const DWORD length = ::GetShortPathNameW(longPath.c_str(), buffer.data(), needed);
    return length == 0 || length >= needed ? std::wstring() : std::wstring(buffer.data(), length);
}

std::uint32_t Win32Kernel::GetPrivateProfileStringA(const char* appName, const char* keyName,
                                                    const char* defaultText, char* returned,
                                                    std::uint32_t size, const char* fileName) {
    return ::GetPrivateProfileStringA(appName, keyName, defaultText, returned, size, fileName);
}
bool Win32Kernel::WritePrivateProfileStringA(const char* appName, const char* keyName, const char* text,
                                             const char* fileName) {
    return ::WritePrivateProfileStringA(appName, keyName, text, fileName) != FALSE;
}
Handle Win32Kernel::CreateFileA(const char* fileName, std::uint32_t desiredAccess, std::uint32_t shareMode,
                                std::uint32_t creationDisposition) {
    return FromWin(::CreateFileA(fileName, desiredAccess, shareMode, nullptr, creationDisposition,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
}
bool Win32Kernel::CloseHandle(Handle handle) {
    return ::CloseHandle(ToWin<HANDLE>(handle)) != FALSE;
}

std::uint32_t Win32Kernel::GetFileAttributesW(const std::wstring& fileName) {
    return ::GetFileAttributesW(fileName.c_str());
}
int Win32Kernel::MulDiv(int number, int numerator, int denominator) {
    return ::MulDiv(number, numerator, denominator);
}
Handle Win32Kernel::CreateMutexA(void* attributes, bool initialOwner, const char* name) {
    return FromWin(::CreateMutexA(static_cast<LPSECURITY_ATTRIBUTES>(attributes), initialOwner, name));
}
Handle Win32Kernel::OpenMutexA(std::uint32_t desiredAccess, bool inheritHandle, const char* name) {
    return FromWin(::OpenMutexA(desiredAccess, inheritHandle, name));
}
std::uint32_t Win32Kernel::GetLastError() {
    return ::GetLastError();
}
std::uint32_t Win32Kernel::FormatMessageW(std::uint32_t flags, const void* source, std::uint32_t messageId,
                                          std::uint32_t languageId, wchar_t* buffer, std::uint32_t size) {
    return ::FormatMessageW(flags, source, messageId, languageId, buffer, size, nullptr);
}
std::uint16_t Win32Kernel::GetUserDefaultUILanguage() {
    return ::GetUserDefaultUILanguage();
}
std::uint32_t Win32Kernel::GetACP() {
    return ::GetACP();
}
void Win32Kernel::Sleep(std::uint32_t dwMilliseconds) {
    ::Sleep(dwMilliseconds);
}
void Win32Kernel::ExitProcess(std::uint32_t exitCode) {
    ::ExitProcess(exitCode);
}

}  // namespace pelluna::win32
