// Numbers from text and to text: the leading-number read, checked conversions, rounding and formats.
#include "common/Numbers.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace pelluna::numbers {
namespace {

TEST(ReadLeadingNumber, ReadsTheNumberAtTheStartAfterBlanks) {
    const struct {
        const wchar_t* text;
        double expected;
    } cases[] = {
        {L"1234", 1234}, {L" 1234", 1234}, {L"\t 77", 77}, {L"1234 rest", 1234}, {L"12ab", 12},
        {L"-5", -5},     {L"+5", 5},       {L"2.5x", 2.5}, {L".5", 0.5},         {L"5.", 5},
        {L"1e3", 1000},  {L"1e", 1},       {L"1e+", 1},    {L"2E-1", 0.2},       {L"", 0},
        {L"abc", 0},     {L"-", 0},        {L".", 0},      {L"Error:263", 0},    {L"&H10", 0},
        {L"  ", 0},      {L"007", 7},      {L"3:04", 3},   {L"-0", 0},           {L"1 2", 1},
    };
    for (const auto& c : cases) EXPECT_EQ(ReadLeadingNumber(c.text), c.expected) << c.text;
}

TEST(ReadLeadingNumber, HugeExponentsReadAsInfinityWhichNoConversionTakes) {
    EXPECT_TRUE(std::isinf(ReadLeadingNumber(L"1e999")));
    EXPECT_FALSE(RoundToInt32(ReadLeadingNumber(L"1e999")).has_value());
    EXPECT_FALSE(RoundToInt16(ReadLeadingNumber(L"-1e999")).has_value());
    EXPECT_EQ(ReadLeadingNumber(L"1e-999"), 0.0);
}

TEST(Numbers, OutOfRangeIsJudgedByTheValueNotByTheExponentsSign) {
    constexpr double kInfinity = std::numeric_limits<double>::infinity();
    const std::wstring ones = L"1" + std::wstring(310, L'0');          // 1e310
    const std::wstring tiny = L"0." + std::wstring(330, L'0') + L"1";  // 1e-331
    const struct {
        std::wstring text;
        double leading;                 // what ReadLeadingNumber gives
        std::optional<double> decimal;  // what ParseDecimal gives
    } cases[] = {
        {ones + L"e-1", kInfinity, std::nullopt},  // 1e309: too large despite the negative exponent
        {L"-" + ones + L"e-1", -kInfinity, std::nullopt},
        {ones + L"e-11", 1e299, 1e299},
        {tiny, 0.0, 0.0},  // too small for a double despite having no exponent
        {L"-" + tiny, -0.0, -0.0},
        {tiny + L"e+20", 1e-311, 1e-311},  // subnormal, kept
        {L"1e-400", 0.0, 0.0},
        {L"1e400", kInfinity, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadLeadingNumber(c.text), c.leading) << c.text.size();
        EXPECT_EQ(ParseDecimal(c.text), c.decimal) << c.text.size();
    }
}

TEST(ParseDecimal, AcceptsOnlyAWholeDecimalNumberWithBlanksAround) {
    const struct {
        const wchar_t* text;
        std::optional<double> expected;
    } cases[] = {
        {L"30", 30},
        {L" 30", 30},
        {L"30 ", 30},
        {L"\t30\t", 30},
        {L"-0", 0},
        {L"1.9", 1.9},
        {L"1e40", 1e40},
        {L"-2.5e-1", -0.25},
        {L"abc", std::nullopt},
        {L"", std::nullopt},
        {L" ", std::nullopt},
        {L"12abc", std::nullopt},
        {L"&H10", std::nullopt},
        {L"1 2", std::nullopt},
        {L"--1", std::nullopt},
        {L"1e999", std::nullopt},
        {L"+", std::nullopt},
        {L"1e", std::nullopt},
        {L"0x10", std::nullopt},
        {L"\u00FF\u00FE", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseDecimal(c.text), c.expected) << c.text;
}

TEST(RoundToInt32, RoundsHalfToEvenAndRefusesWhatDoesNotFit) {
    const struct {
        double value;
        std::optional<std::int32_t> expected;
    } cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {-2.5, -2},
        {2.4999, 2},
        {2.5001, 3},
        {-0.0, 0},
        {2147483647.0, 2147483647},
        {2147483647.4, 2147483647},
        {2147483647.5, std::nullopt},
        {-2147483648.0, -2147483648LL},
        {-2147483648.5, -2147483648LL},
        {-2147483649.0, std::nullopt},
        {1e40, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
        {std::numeric_limits<double>::infinity(), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(RoundToInt32(c.value), c.expected) << c.value;
}

TEST(RoundToInt16, RoundsHalfToEvenWithinSixteenBits) {
    EXPECT_EQ(RoundToInt16(32767.4), 32767);
    EXPECT_EQ(RoundToInt16(32767.5), std::nullopt);
    EXPECT_EQ(RoundToInt16(-32768.5), -32768);
    EXPECT_EQ(RoundToInt16(-32768.6), std::nullopt);
    EXPECT_EQ(RoundToInt16(3.5), 4);
    EXPECT_EQ(RoundToInt16(4.5), 4);
}

TEST(FloorToInt16, TakesTheLargestIntegerNotAbove) {
    const struct {
        double value;
        std::optional<std::int16_t> expected;
    } cases[] = {
        {1.9, 1},
        {2.0, 2},
        {-0.1, -1},
        {-1.9, -2},
        {-0.0, 0},
        {32767.99, 32767},
        {32768.0, std::nullopt},
        {-32768.0, -32768},
        {-32768.01, std::nullopt},
        {std::numeric_limits<double>::quiet_NaN(), std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FloorToInt16(c.value), c.expected) << c.value;
}

TEST(ToSingle, RefusesValuesBeyondTheSingleRange) {
    EXPECT_EQ(ToSingle(100.0), 100.0f);
    EXPECT_EQ(ToSingle(-0.0), 0.0f);
    EXPECT_EQ(ToSingle(3.4e38), 3.4e38f);
    EXPECT_EQ(ToSingle(1e40), std::nullopt);
    EXPECT_EQ(ToSingle(-1e40), std::nullopt);
    EXPECT_EQ(ToSingle(std::numeric_limits<double>::infinity()), std::nullopt);
    EXPECT_EQ(ToSingle(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
}

TEST(NumberFormats, LeadingBlankAndHashHash) {
    EXPECT_EQ(WithLeadingBlank(25), L" 25");
    EXPECT_EQ(WithLeadingBlank(0), L" 0");
    EXPECT_EQ(WithLeadingBlank(-3), L"-3");
    EXPECT_EQ(WithLeadingBlank(-2147483648LL), L"-2147483648");
    // Plain decimal digits, never an exponent, and each text reads back as the same single (1e20 exactly).
    for (const auto& [value, text] : {std::pair{200.0f, L" 200"},
                                      {-0.25f, L"-0.25"},
                                      {99999999.0f, L" 100000000"},
                                      {1e20f, L" 100000002004087734272"},
                                      {1e-45f, L" 0.000000000000000000000000000000000000000000001"}}) {
        EXPECT_EQ(SingleWithLeadingBlank(value), text);
        EXPECT_EQ(ToSingle(*ParseDecimal(text)), value) << value;
    }
    EXPECT_EQ(FormatHashHash(0), L"");
    EXPECT_EQ(FormatHashHash(7), L"7");
    EXPECT_EQ(FormatHashHash(30), L"30");
    EXPECT_EQ(FormatHashHash(-5), L"-5");
    EXPECT_EQ(FormatHashHash(123), L"123");
}

}  // namespace
}  // namespace pelluna::numbers
