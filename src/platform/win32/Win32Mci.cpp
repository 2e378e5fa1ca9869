// winmm sound forwards.
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

std::uint32_t Win32Mci::mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                       Hwnd hwndCallback) {
    return ::mciSendStringA(command, returnString, returnLength, ToWin<HWND>(hwndCallback));
}
bool Win32Mci::mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) {
    return ::mciGetErrorStringA(error, text, length) != FALSE;
}
std::uint32_t Win32Mci::waveOutGetNumDevs() {
    return ::waveOutGetNumDevs();
}
bool Win32Mci::PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) {
    return ::PlaySoundA(sound, ToWin<HMODULE>(hModule), flags) != FALSE;
}

}  // namespace pelluna::win32
