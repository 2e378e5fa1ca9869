// The caption's font as one value (typeface, size, weight, styles, character set) and its stored text form.
#include "controls/FontObject.h"

#include <array>

#include "common/Numbers.h"

namespace pelluna {
namespace {

constexpr double kSizeUnitsPerPoint = 10000.0;

std::wstring Flag(bool value) {
    return numbers::WithLeadingBlank(value ? -1 : 0);
}

std::optional<std::int16_t> Int16Of(std::wstring_view text) {
    const auto value = numbers::ParseDecimal(text);
    if (!value) return std::nullopt;
    return numbers::RoundToInt16(*value);
}

std::optional<std::int32_t> Int32Of(std::wstring_view text) {
    const auto value = numbers::ParseDecimal(text);
    if (!value) return std::nullopt;
    return numbers::RoundToInt32(*value);
}

}  // namespace

std::wstring FontToText(const FontObject& font) {
    // A size beyond the 32-bit range of the stored form is kept as 0, which no font loads from.
    const std::int32_t size = numbers::RoundToInt32(font.Size * kSizeUnitsPerPoint).value_or(0);
    return numbers::WithLeadingBlank(size) + L";" + numbers::WithLeadingBlank(font.Weight) + L";" +
           Flag(font.Italic) + L";" + Flag(font.Underline) + L";" + Flag(font.Strikethrough) + L";" +
           numbers::WithLeadingBlank(font.Charset) + L";" + font.Name;
}

std::optional<FontObject> FontFromText(std::wstring_view text) {
    std::array<std::wstring_view, 6> fields;
    for (std::wstring_view& field : fields) {
        const std::size_t end = text.find(L';');
        if (end == std::wstring_view::npos) return std::nullopt;
        field = text.substr(0, end);
        text.remove_prefix(end + 1);
    }
    const auto sizeUnits = Int32Of(fields[0]);
    const auto weight = Int16Of(fields[1]);
    const auto italic = Int16Of(fields[2]);
    const auto underline = Int16Of(fields[3]);
    const auto strikethrough = Int16Of(fields[4]);
    const auto charset = Int16Of(fields[5]);
    if (!sizeUnits || *sizeUnits <= 0 || !weight || !italic || !underline || !strikethrough || !charset ||
        text.empty()) {
        return std::nullopt;
    }
    FontObject font;
    font.Name = std::wstring(text);
    font.Size = *sizeUnits / kSizeUnitsPerPoint;
    font.Weight = *weight;
    font.Italic = *italic != 0;
    font.Underline = *underline != 0;
    font.Strikethrough = *strikethrough != 0;
    font.Charset = *charset;
    return font;
}

}  // namespace pelluna
