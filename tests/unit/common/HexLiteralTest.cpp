// Hexadecimal literals read from text: "&H" and up to eight digits, nothing else.
#include <gtest/gtest.h>

#include <optional>

#include "common/Numbers.h"

namespace pelluna::numbers {
namespace {

TEST(ParseHexLiteral, ReadsAmpersandHAndOneToEightDigits) {
    const struct {
        const wchar_t* text;
        std::optional<std::uint32_t> expected;
    } cases[] = {
        {L"&HFFFFFF", 0xFFFFFFu},
        {L"&hc6c5d7", 0xC6C5D7u},
        {L" &H0 ", 0u},
        {L"&HFFFFFFFF", 0xFFFFFFFFu},
        {L"&H123456789", {}},
        {L"&H", {}},
        {L"FFFFFF", {}},
        {L"&HFG", {}},
        {L"&O17", {}},
        {L"", {}},
        {L"&H-1", {}},
        {L"&H 1", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::string(c.text, c.text + std::wcslen(c.text)));
        EXPECT_EQ(ParseHexLiteral(c.text), c.expected);
    }
}

}  // namespace
}  // namespace pelluna::numbers
