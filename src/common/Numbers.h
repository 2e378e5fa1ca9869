// Numbers read from text and written as text, by the program's fixed rules, with every range checked.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelluna::numbers {

// Leading blanks skipped, then the longest leading decimal number (sign, digits, fraction, exponent) is
// read; text without one reads as 0. Huge exponents give an infinity, which no conversion accepts.
double ReadLeadingNumber(std::wstring_view text);

// The leading number as ReadLeadingNumber finds it, when it is plain digits (a sign allowed, no point, no
// exponent) within 64 bits, signed or unsigned: its low 32 bits, read as a signed value. Nothing otherwise.
std::optional<std::int32_t> ReadLeadingLow32Bits(std::wstring_view text);

// The whole text, blanks around it ignored, as a decimal number; nothing when it is no number.
std::optional<double> ParseDecimal(std::wstring_view text);

// A hexadecimal literal: "&H" (either case) and one to eight hexadecimal digits, blanks around ignored;
// nothing for any other text.
std::optional<std::uint32_t> ParseHexLiteral(std::wstring_view text);

// Nearest integer, a half going to the even neighbour; nothing when NaN or outside the type.
std::optional<std::int32_t> RoundToInt32(double value);
std::optional<std::int16_t> RoundToInt16(double value);

// Largest integer not above the value; nothing when NaN or outside the type.
std::optional<std::int16_t> FloorToInt16(double value);

// The value as a single float; nothing when NaN or beyond the single range.
std::optional<float> ToSingle(double value);

// Decimal text with a blank where a minus sign would stand: " 25", "-3".
std::wstring WithLeadingBlank(std::int64_t value);

// A single float as the shortest plain decimal text (digits and a point, never an exponent) that reads
// back as the same value, with a blank where a minus sign would stand: " 200", " 5.5", "-0.25",
// " 100000000".
std::wstring SingleWithLeadingBlank(float value);

// The "##" format: the empty text for 0, otherwise the plain decimal number ("-5", "12").
std::wstring FormatHashHash(std::int64_t value);

}  // namespace pelluna::numbers
