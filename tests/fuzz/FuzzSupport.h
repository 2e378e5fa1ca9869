// Shared pieces of the fuzz targets: invariant checks that abort, and the line-based input formats.
#pragma once

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace pelluna::fuzz {

// A broken invariant is a finding: say which one and stop, so libFuzzer keeps the input.
inline void Require(bool condition, const char* invariant) {
    if (condition) return;
    std::fprintf(stderr, "broken invariant: %s\n", invariant);
    std::fflush(stderr);
    __builtin_trap();
}

inline std::string_view AsText(const std::uint8_t* data, std::size_t size) {
    return std::string_view(reinterpret_cast<const char*>(data), size);
}

// The input's lines without their line ends; lines starting with '#' are comments of the seed files.
inline std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() != '#') lines.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return lines;
}

// "word rest": true and the rest when the line starts with the word and a blank (or is the word).
inline bool Keyword(std::string_view line, std::string_view word, std::string_view& rest) {
    if (line.substr(0, word.size()) != word) return false;
    line.remove_prefix(word.size());
    if (!line.empty() && line.front() != ' ') return false;
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    rest = line;
    return true;
}

// A decimal integer, held to the type's range so that the extremes are easy to reach; 0 when no number.
template <class Int>
Int IntegerIn(std::string_view text) {
    std::int64_t value = 0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        value = text.substr(0, 1) == "-" ? std::numeric_limits<std::int64_t>::min()
                                         : std::numeric_limits<std::int64_t>::max();
    }
    if (value < std::numeric_limits<Int>::min()) return std::numeric_limits<Int>::min();
    if (value > std::numeric_limits<Int>::max()) return std::numeric_limits<Int>::max();
    return static_cast<Int>(value);
}

// A single float as strtof reads it: "nan", "inf", "-1e39" (an infinity), "1e-50" (zero) all come through.
inline float SingleIn(std::string_view text) {
    const std::string copy(text);
    return std::strtof(copy.c_str(), nullptr);
}

inline double DoubleIn(std::string_view text) {
    const std::string copy(text);
    return std::strtod(copy.c_str(), nullptr);
}

}  // namespace pelluna::fuzz
