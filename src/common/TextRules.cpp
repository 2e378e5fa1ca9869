// Small text rules shared by the subsystems: upper-casing for comparisons, last characters, long paths.
#include "common/TextRules.h"

namespace pelluna {

std::wstring UpperAscii(std::wstring_view text) {
    std::wstring result(text);
    for (wchar_t& c : result) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    return result;
}

std::wstring_view LastChars(std::wstring_view text, std::size_t count) {
    return text.size() <= count ? text : text.substr(text.size() - count);
}

std::wstring ShortenedPath(std::wstring_view path, const std::function<bool(std::wstring_view)>& fits) {
    const std::size_t nameStart = path.find_last_of(L'\\');
    if (nameStart == std::wstring_view::npos || fits(path)) return std::wstring(path);
    const std::wstring_view name = path.substr(nameStart);
    std::wstring shortened;
    const auto withStart = [&](std::size_t length) -> const std::wstring& {
        // A cut between the two halves of a surrogate pair would leave half a character.
        if (length > 0 && path[length - 1] >= 0xD800 && path[length - 1] <= 0xDBFF) --length;
        shortened.assign(path.substr(0, length)).append(L"...").append(name);
        return shortened;
    };
    // The longest start that fits, found by halving: a longer start never fits where a shorter one does not.
    std::size_t fitting = 0;
    std::size_t tooLong = nameStart + 1;
    while (tooLong - fitting > 1) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        (fits(withStart(middle)) ? fitting : tooLong) = middle;
    }
    return withStart(fitting);
}

}  // namespace pelluna
