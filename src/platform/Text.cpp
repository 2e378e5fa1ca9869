// Conversions between wide text and the system's ANSI code page, made of the port's two system calls.
#include "platform/Text.h"

#include <climits>

#include "platform/types.h"

namespace pelluna {

std::string Text::ToAnsi(std::wstring_view text, bool* lossy) {
    if (lossy) *lossy = false;
    if (text.empty() || text.size() > INT_MAX / 4) return {};
    const int wideLength = static_cast<int>(text.size());
    // No flags and no default character: the UTF-8 code page (65001) refuses both. The round trip tells a
    // character that the code page cannot hold, in every code page.
    const int length =
        WideCharToMultiByte(win::CP_ACP, 0, text.data(), wideLength, nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) {
        WideCharToMultiByte(win::CP_ACP, 0, text.data(), wideLength, result.data(), length, nullptr, nullptr);
    }
    if (lossy) *lossy = length <= 0 || FromAnsi(result) != text;
    return result;
}

std::wstring Text::FromAnsi(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int ansiLength = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(win::CP_ACP, 0, text.data(), ansiLength, nullptr, 0);
    std::wstring result(static_cast<std::size_t>(length > 0 ? length : 0), L'\0');
    if (length > 0) MultiByteToWideChar(win::CP_ACP, 0, text.data(), ansiLength, result.data(), length);
    return result;
}

}  // namespace pelluna
