// Conversions between wide text and the system's ANSI code page.
#include "platform/win32/Win32Ports.h"

#include "platform/win32/WindowsApi.h"

#include <climits>

namespace pelluna::win32 {

std::string Win32Text::ToAnsi(std::wstring_view text, bool* lossy) {
    if (lossy) *lossy = false;
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const int wideLength = static_cast<int>(text.size());
    BOOL usedDefault = FALSE;
    BOOL* usedDefaultOut = lossy ? &usedDefault : nullptr;
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, usedDefaultOut);
    std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), wideLength, result.data(), length, nullptr,
                              usedDefaultOut);
    }
    if (lossy) *lossy = usedDefault != FALSE || length <= 0;
    return result;
}

std::wstring Win32Text::FromAnsi(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int ansiLength = static_cast<int>(text.size());
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), ansiLength, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), ansiLength, result.data(), length);
    return result;
}

}  // namespace pelluna::win32
