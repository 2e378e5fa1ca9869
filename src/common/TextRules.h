// Small text rules shared by the subsystems: upper-casing for comparisons, last characters.
#pragma once

#include <string>
#include <string_view>

namespace pelluna {

// Upper case of the ASCII letters; every comparison the program makes is against ASCII words.
std::wstring UpperAscii(std::wstring_view text);

// The last count characters (all of them when the text is shorter).
std::wstring_view LastChars(std::wstring_view text, std::size_t count);

}  // namespace pelluna
