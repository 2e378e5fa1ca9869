// The caption's font as one value (typeface, size, weight, styles, character set) and its stored text form.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pelluna {

struct FontObject {
    std::wstring Name;
    double Size = 0.0;  // points
    std::int16_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool Strikethrough = false;
    std::int16_t Charset = 0;
    friend bool operator==(const FontObject&, const FontObject&) = default;
};

// The font the controls were designed in: "ＭＳ Ｐゴシック" 9.75 points, regular, Shift-JIS.
inline FontObject DesignFont() {
    return FontObject{L"ＭＳ Ｐゴシック", 9.75, 400, false, false, false, 128};
}

// Six numbers and the typeface name, separated by ';': the size in ten-thousandths of a point (the
// precision a font size is kept in), the weight, italic, underline and strike-through (-1 or 0), the
// character set; the name comes last, so it may hold any character.
std::wstring FontToText(const FontObject& font);

// The font of a text made by FontToText; nothing when a part is missing or out of its range.
std::optional<FontObject> FontFromText(std::wstring_view text);

}  // namespace pelluna
