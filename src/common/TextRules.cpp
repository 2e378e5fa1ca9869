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

namespace {

bool HighSurrogate(wchar_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}

bool LowSurrogate(wchar_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

// The form of the most length below limit that fits, found by halving: a longer form never fits where a
// shorter one does not. The form of length 0 when none does.
std::wstring Longest(std::size_t limit, const std::function<const std::wstring&(std::size_t)>& form,
                     const std::function<bool(std::wstring_view)>& fits) {
    std::size_t fitting = 0;
    std::size_t tooLong = limit;
    while (tooLong > fitting + 1) {
        const std::size_t middle = fitting + (tooLong - fitting) / 2;
        (fits(form(middle)) ? fitting : tooLong) = middle;
    }
    return form(fitting);
}

}  // namespace

std::wstring ShortenedPath(std::wstring_view path, const std::function<bool(std::wstring_view)>& fits) {
    if (fits(path)) return std::wstring(path);
    // Hand-written paths may use either separator.
    const std::size_t separator = path.find_last_of(L"\\/");
    const std::wstring_view name = path.substr(separator == std::wstring_view::npos ? 0 : separator + 1);
    std::wstring shortened;
    if (separator != std::wstring_view::npos) {
        const auto withStart = [&](std::size_t length) -> const std::wstring& {
            // A cut between the two halves of a surrogate pair would leave half a character.
            if (length > 0 && HighSurrogate(path[length - 1])) --length;
            shortened.assign(path.substr(0, length)).append(L"...").append(path.substr(separator));
            return shortened;
        };
        if (fits(withStart(0))) return Longest(separator + 1, withStart, fits);
    }
    // Not even the whole name fits: its middle gives way, and its extension stays in sight.
    const std::wstring prefix =
        separator == std::wstring_view::npos ? std::wstring() : L"..." + std::wstring(1, path[separator]);
    const std::size_t dot = name.find_last_of(L'.');
    const std::wstring_view stem =
        name.substr(0, dot == 0 || dot == std::wstring_view::npos ? name.size() : dot);
    const std::wstring_view extension = name.substr(stem.size());
    const auto withMiddleOut = [&](std::size_t kept) -> const std::wstring& {
        std::size_t head = (kept + 1) / 2;
        std::size_t tail = kept / 2;
        if (head > 0 && HighSurrogate(stem[head - 1])) --head;
        if (tail > 0 && LowSurrogate(stem[stem.size() - tail])) --tail;
        shortened.assign(prefix).append(stem.substr(0, head)).append(L"...");
        shortened.append(stem.substr(stem.size() - tail)).append(extension);
        return shortened;
    };
    return Longest(stem.size(), withMiddleOut, fits);
}

}  // namespace pelluna
