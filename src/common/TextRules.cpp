// Small text rules shared by the subsystems: upper-casing for comparisons, last characters.
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

}  // namespace pelluna
