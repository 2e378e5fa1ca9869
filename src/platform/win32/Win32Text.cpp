// The real text conversions of the system.
#include "platform/win32/Win32Ports.h"

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

int Win32Text::WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide,
                                   int wideLength, char* bytes, int byteLength, const char* defaultChar,
                                   bool* usedDefaultChar) {
    BOOL used = FALSE;
    const int result = ::WideCharToMultiByte(codePage, flags, wide, wideLength, bytes, byteLength,
                                             defaultChar, usedDefaultChar ? &used : nullptr);
    if (usedDefaultChar) *usedDefaultChar = used != FALSE;
    return result;
}

int Win32Text::MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes,
                                   int byteLength, wchar_t* wide, int wideLength) {
    return ::MultiByteToWideChar(codePage, flags, bytes, byteLength, wide, wideLength);
}

}  // namespace pelluna::win32
