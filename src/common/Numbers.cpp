// Numbers read from text and written as text, by the program's fixed rules, with every range checked.
#include "common/Numbers.h"

#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace pelluna::numbers {
namespace {

bool IsBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Length of the decimal number at the start of text (0 when there is none).
std::size_t DecimalPrefixLength(std::wstring_view text) {
    std::size_t i = 0;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    std::size_t digits = 0;
    while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && IsDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) ++j;
        const std::size_t exponentStart = j;
        while (j < text.size() && IsDigit(text[j])) ++j;
        if (j > exponentStart) i = j;
    }
    return i;
}

// Converts a span already known to be a decimal number; overflow gives an infinity of its sign, a value
// too small for a double gives zero (or the nearest subnormal).
double ConvertDecimal(std::wstring_view number) {
    std::string ascii;
    ascii.reserve(number.size());
    for (wchar_t c : number) ascii.push_back(static_cast<char>(c));
    const char* first = ascii.data();
    if (*first == '+') ++first;
    double value = 0.0;
    const auto [end, error] = std::from_chars(first, ascii.data() + ascii.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        // from_chars leaves value alone on range errors. strtod saturates by the value itself: "1" and
        // 310 zeros with "e-1" is too large, "0." with 330 zeros and "1" too small, whatever the
        // exponent's sign. The program never changes the C locale, so the point is '.'.
        errno = 0;
        return std::strtod(ascii.c_str(), nullptr);
    }
    return value;
}

template <class Int>
std::optional<Int> ToIntegral(double whole) {
    // whole is already integral; the bounds are exact in double for these types.
    if (std::isnan(whole)) return std::nullopt;
    if (whole < static_cast<double>(std::numeric_limits<Int>::min()) ||
        whole > static_cast<double>(std::numeric_limits<Int>::max())) {
        return std::nullopt;
    }
    return static_cast<Int>(whole);
}

}  // namespace

double ReadLeadingNumber(std::wstring_view text) {
    std::size_t start = 0;
    while (start < text.size() && IsBlank(text[start])) ++start;
    text.remove_prefix(start);
    const std::size_t length = DecimalPrefixLength(text);
    return length == 0 ? 0.0 : ConvertDecimal(text.substr(0, length));
}

std::optional<std::int32_t> ReadLeadingLow32Bits(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    const std::wstring_view number = text.substr(0, DecimalPrefixLength(text));
    const bool negative = !number.empty() && number.front() == L'-';
    const std::wstring_view digits = number.substr(!number.empty() && !IsDigit(number.front()) ? 1 : 0);
    if (digits.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const wchar_t c : digits) {
        if (!IsDigit(c)) return std::nullopt;  // a point or an exponent
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    if (negative && value > std::uint64_t{1} << 63) return std::nullopt;
    // Unsigned arithmetic wraps by definition: the negation is the two's complement, the cast keeps 32 bits.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(negative ? 0 - value : value));
}

std::optional<double> ParseDecimal(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    const std::size_t length = DecimalPrefixLength(text);
    if (length == 0 || length != text.size()) return std::nullopt;
    const double value = ConvertDecimal(text);
    if (std::isinf(value)) return std::nullopt;
    return value;
}

std::optional<std::uint32_t> ParseHexLiteral(std::wstring_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.size() < 3 || text.size() > 10 || text[0] != L'&' || (text[1] != L'H' && text[1] != L'h')) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (wchar_t c : text.substr(2)) {
        std::uint32_t digit = 0;
        if (IsDigit(c)) {
            digit = static_cast<std::uint32_t>(c - L'0');
        } else if (c >= L'A' && c <= L'F') {
            digit = static_cast<std::uint32_t>(c - L'A') + 10;
        } else if (c >= L'a' && c <= L'f') {
            digit = static_cast<std::uint32_t>(c - L'a') + 10;
        } else {
            return std::nullopt;
        }
        value = (value << 4) | digit;  // at most eight digits: never more than 32 bits
    }
    return value;
}

std::optional<std::int32_t> RoundToInt32(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return ToIntegral<std::int32_t>(std::nearbyint(value));  // default rounding mode: half to even
}

std::optional<std::int16_t> RoundToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return ToIntegral<std::int16_t>(std::nearbyint(value));
}

std::optional<std::int16_t> FloorToInt16(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    return ToIntegral<std::int16_t>(std::floor(value));
}

std::optional<float> ToSingle(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    if (std::fabs(value) > static_cast<double>(std::numeric_limits<float>::max())) return std::nullopt;
    return static_cast<float>(value);
}

std::wstring WithLeadingBlank(std::int64_t value) {
    const std::wstring digits = std::to_wstring(value);
    return value >= 0 ? L" " + digits : digits;
}

std::wstring SingleWithLeadingBlank(float value) {
    // Room for the longest plain form: a sign, 39 digits before the point, or "0." and up to 61 digits
    // after it (a tiny float's double digits).
    std::array<char, 128> digits{};
    const auto [end, error] =
        std::to_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::fixed);
    std::wstring text = std::signbit(value) ? L"" : L" ";
    if (error != std::errc()) return text;
    text.append(digits.data(), end);
    // The shortest float digits, read back as a double and narrowed, could in principle land on the other
    // float of a tie; the double's own digits always read back exactly.
    if (ToSingle(ParseDecimal(text).value_or(0.0)) != value) {
        const auto [wide, wideError] = std::to_chars(digits.data(), digits.data() + digits.size(),
                                                     static_cast<double>(value), std::chars_format::fixed);
        text.resize(std::signbit(value) ? 0 : 1);
        if (wideError == std::errc()) text.append(digits.data(), wide);
    }
    return text;
}

std::wstring FormatHashHash(std::int64_t value) {
    return value == 0 ? std::wstring() : std::to_wstring(value);
}

}  // namespace pelluna::numbers
