// Small text rules shared by the subsystems: upper-casing for comparisons, last characters, long paths.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace pelluna {

// Upper case of the ASCII letters; every comparison the program makes is against ASCII words.
std::wstring UpperAscii(std::wstring_view text);

// The last count characters (all of them when the text is shorter).
std::wstring_view LastChars(std::wstring_view text, std::size_t count);

// A path as it fits its box, which fits tells: whole when it fits, otherwise as much of its start as fits
// before "..." and its file name (from the last backslash or slash). When even that does not fit, "..."
// and the file name with as much of its start and end as fits around a "..." in its middle, and its
// extension whole.
std::wstring ShortenedPath(std::wstring_view path, const std::function<bool(std::wstring_view)>& fits);

}  // namespace pelluna
