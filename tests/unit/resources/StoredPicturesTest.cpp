// The stored pictures of the Command button and the settings dialog: file headers and key pixels.
#include <gtest/gtest.h>

#include "ResourceFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelluna {
namespace {

using testing::ReadResource;

using Bytes = std::vector<std::uint8_t>;

std::uint32_t Le16(const Bytes& b, std::size_t at) {
    return b[at] | (std::uint32_t{b[at + 1]} << 8);
}
std::uint32_t Le32(const Bytes& b, std::size_t at) {
    return Le16(b, at) | (Le16(b, at + 2) << 16);
}

constexpr std::size_t kBmpHeaders = 14 + 40;

// 0xRRGGBB of pixel (x, y), y counted from the top, in a bottom-up 24-bit file whose header was checked.
std::uint32_t BmpPixel(const Bytes& b, int x, int y) {
    const int width = static_cast<int>(Le32(b, 18)), height = static_cast<int>(Le32(b, 22));
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) / 4 * 4;
    const std::size_t at = kBmpHeaders + static_cast<std::size_t>(height - 1 - y) * stride + 3u * x;
    return (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 1]} << 8) | b[at];
}

struct BitmapFile {
    const char* name;
    std::uint32_t width, height;
};

constexpr BitmapFile kBitmaps[] = {
    {"command_normal.bmp", 64, 25},          {"command_highlight.bmp", 64, 25},
    {"command_pressed.bmp", 64, 25},         {"command_selected.bmp", 64, 25},
    {"command_highlightselect.bmp", 64, 25}, {"command_disable.bmp", 64, 25},
    {"indicator_unselected.bmp", 12, 12},    {"indicator_selected.bmp", 12, 12},
};

TEST(StoredPictures, EveryBitmapIsABottomUp24BitUncompressedFileOfItsExactSize) {
    for (const BitmapFile& file : kBitmaps) {
        SCOPED_TRACE(file.name);
        const Bytes b = ReadResource(file.name);
        const std::uint32_t stride = (file.width * 3 + 3) / 4 * 4, image = stride * file.height;
        ASSERT_EQ(b.size(), kBmpHeaders + image);
        const struct {
            const char* field;
            std::uint32_t actual, expected;
        } fields[] = {
            {"signature", Le16(b, 0), 0x4D42},  // "BM"
            {"file size", Le32(b, 2), static_cast<std::uint32_t>(b.size())},
            {"reserved", Le32(b, 6), 0},
            {"pixel offset", Le32(b, 10), 54},
            {"info header size", Le32(b, 14), 40},
            {"width", Le32(b, 18), file.width},
            {"height (positive: bottom-up)", Le32(b, 22), file.height},
            {"planes", Le16(b, 26), 1},
            {"bits per pixel", Le16(b, 28), 24},
            {"compression (BI_RGB)", Le32(b, 30), 0},
            {"image size", Le32(b, 34), image},
            {"colours used", Le32(b, 46), 0},
        };
        for (const auto& f : fields) EXPECT_EQ(f.actual, f.expected) << f.field;
    }
    EXPECT_EQ(ReadResource("command_normal.bmp").size(), 4854u);
}

TEST(StoredPictures, ButtonPicturesCarryTheirStateColoursInTheBorderBand) {
    const struct {
        const char* name;
        int x, y;
        std::uint32_t colour;
        const char* what;
    } pixels[] = {
        {"command_normal.bmp", 0, 0, 0xE0DCC9, "outermost ring, top left"},
        {"command_normal.bmp", 63, 24, 0xF8F7F0, "outermost ring, bottom right"},
        {"command_normal.bmp", 31, 1, 0x003C74, "outline one pixel in, top edge"},
        {"command_normal.bmp", 1, 12, 0x003C74, "outline one pixel in, left edge"},
        {"command_normal.bmp", 1, 1, 0x7A95A8, "rounded outline corner"},
        {"command_normal.bmp", 2, 1, 0x164D7E, "beside the rounded corner"},
        {"command_normal.bmp", 31, 2, 0xFEFEFE, "near-white top band"},
        {"command_normal.bmp", 31, 22, 0xD6D0C5, "bottom band, lower row"},
        {"command_highlight.bmp", 31, 2, 0xFFF0CF, "warm glow, top"},
        {"command_highlight.bmp", 2, 3, 0xFCD279, "yellow at the top of the side"},
        {"command_highlight.bmp", 2, 21, 0xF8B435, "orange at the bottom of the side"},
        {"command_highlight.bmp", 31, 22, 0xE59700, "bottom band, lower row"},
        {"command_selected.bmp", 31, 2, 0xCEE7FF, "blue glow, top"},
        {"command_selected.bmp", 61, 21, 0x8BADE4, "side, bottom"},
        {"command_selected.bmp", 31, 22, 0x6982EE, "bottom band"},
        {"command_pressed.bmp", 0, 0, 0xECE9D8, "outer frame, corner"},
        {"command_pressed.bmp", 31, 24, 0xECE9D8, "outer frame, bottom"},
        {"command_pressed.bmp", 1, 1, 0xE0DCC9, "the normal surround, one pixel in"},
        {"command_pressed.bmp", 31, 2, 0x003C74, "outline two pixels in"},
        {"command_pressed.bmp", 31, 1, 0xE4E1CF, "top surround, not outline"},
        {"command_pressed.bmp", 2, 2, 0x7A95A8, "rounded outline corner, inset"},
        {"command_pressed.bmp", 31, 3, 0x9DA8AC, "sunken: shadow at the top"},
        {"command_pressed.bmp", 31, 21, 0xF2F1EE, "sunken: light at the bottom"},
        {"command_disable.bmp", 0, 0, 0xECE9D8, "outermost ring"},
        {"command_disable.bmp", 31, 1, 0xC9C7BA, "grey outline"},
        {"command_disable.bmp", 1, 1, 0xD8D5C7, "blended outline corner"},
        {"command_disable.bmp", 31, 2, 0xF5F4EA, "flat band, top"},
        {"command_disable.bmp", 3, 12, 0xF5F4EA, "flat band, left"},
        {"command_disable.bmp", 61, 20, 0xF5F4EA, "flat band, right"},
    };
    for (const auto& p : pixels) {
        const Bytes b = ReadResource(p.name);
        ASSERT_EQ(b.size(), 4854u) << p.name;
        EXPECT_EQ(BmpPixel(b, p.x, p.y), p.colour) << p.name << " (" << p.x << ", " << p.y << "): " << p.what
                                                   << std::hex << " got 0x" << BmpPixel(b, p.x, p.y);
    }
}

TEST(StoredPictures, HighLightSelectIsTheHighLightPictureByteForByte) {
    const Bytes highlight = ReadResource("command_highlight.bmp");
    ASSERT_EQ(highlight.size(), 4854u);
    EXPECT_TRUE(highlight == ReadResource("command_highlightselect.bmp"));
    EXPECT_FALSE(highlight == ReadResource("command_selected.bmp"));
}

TEST(StoredPictures, IndicatorsAreALightSquareWithAGreyBorderAndTheSameSquareFilledBlue) {
    const Bytes unselected = ReadResource("indicator_unselected.bmp");
    const Bytes selected = ReadResource("indicator_selected.bmp");
    ASSERT_EQ(unselected.size(), 486u);
    ASSERT_EQ(selected.size(), 486u);
    for (const auto& [x, y] : {std::pair{0, 0}, {11, 0}, {0, 11}, {11, 11}, {5, 0}, {0, 6}}) {
        EXPECT_EQ(BmpPixel(unselected, x, y), 0x8A8A8Au) << x << ", " << y;
        EXPECT_EQ(BmpPixel(selected, x, y), 0x8A8A8Au) << x << ", " << y;
    }
    for (const auto& [x, y] : {std::pair{1, 1}, {10, 10}, {5, 6}}) {
        EXPECT_EQ(BmpPixel(unselected, x, y), 0xFAFAF7u) << x << ", " << y;
        EXPECT_EQ(BmpPixel(selected, x, y), 0x2A5BD7u) << x << ", " << y;
    }
}

// One image of an icon or cursor file: its palette index and AND-mask bit at (x, y), y from the top.
struct IconImage {
    const Bytes& b;
    std::size_t image;  // offset of the BITMAPINFOHEADER

    unsigned Bits() const { return Le16(b, image + 14); }
    std::size_t Palette() const { return image + 40; }
    std::size_t Xor() const { return Palette() + 4 * (std::size_t{1} << Bits()); }
    std::size_t And() const { return Xor() + 32 * (32 * Bits() / 8); }

    unsigned Index(int x, int y) const {
        const std::size_t row = Xor() + static_cast<std::size_t>(31 - y) * (32 * Bits() / 8);
        if (Bits() == 8) return b[row + x];
        const std::uint8_t pair = b[row + x / 2];
        return x % 2 ? pair & 0x0F : pair >> 4;
    }
    std::uint32_t Colour(int x, int y) const {
        const std::size_t at = Palette() + 4 * Index(x, y);
        return (std::uint32_t{b[at + 2]} << 16) | (std::uint32_t{b[at + 1]} << 8) | b[at];
    }
    bool Transparent(int x, int y) const {
        const std::uint8_t byte = b[And() + static_cast<std::size_t>(31 - y) * 4 + x / 8];
        return (byte >> (7 - x % 8)) & 1;
    }
};

struct IconFile {
    const char* name;
    std::uint32_t type, colourCount, field1, field2, bits, size;
};

// An icon's entry gives planes and bit depth in field 1 and 2; a cursor's gives the hot spot there.
constexpr IconFile kIconFiles[] = {
    {"umbrella.ico", 1, 0, 1, 8, 8, 22 + 40 + 256 * 4 + 32 * 32 + 32 * 4},
    {"hand.cur", 2, 16, 12, 1, 4, 22 + 40 + 16 * 4 + 32 * 16 + 32 * 4},
};

TEST(StoredPictures, IconAndCursorHoldOne32By32ImageWithTheirColourDepthAndHotSpot) {
    for (const IconFile& file : kIconFiles) {
        SCOPED_TRACE(file.name);
        const Bytes b = ReadResource(file.name);
        ASSERT_EQ(b.size(), file.size);
        const struct {
            const char* field;
            std::uint32_t actual, expected;
        } fields[] = {
            {"reserved", Le16(b, 0), 0},
            {"type", Le16(b, 2), file.type},
            {"images", Le16(b, 4), 1},
            {"entry width", b[6], 32},
            {"entry height", b[7], 32},
            {"entry colour count", b[8], file.colourCount},
            {"entry reserved", b[9], 0},
            {"planes / hot spot x", Le16(b, 10), file.field1},
            {"bit depth / hot spot y", Le16(b, 12), file.field2},
            {"bytes in image", Le32(b, 14), file.size - 22},
            {"image offset", Le32(b, 18), 22},
            {"info header size", Le32(b, 22), 40},
            {"image width", Le32(b, 26), 32},
            {"image height (colour and mask)", Le32(b, 30), 64},
            {"image planes", Le16(b, 34), 1},
            {"image bits per pixel", Le16(b, 36), file.bits},
            {"compression", Le32(b, 38), 0},
        };
        for (const auto& f : fields) EXPECT_EQ(f.actual, f.expected) << f.field;
    }
}

TEST(StoredPictures, IconAndCursorAreTransparentAroundABlueUmbrellaAndAWhiteHand) {
    const Bytes icon = ReadResource("umbrella.ico");
    const Bytes cursor = ReadResource("hand.cur");
    ASSERT_EQ(icon.size(), kIconFiles[0].size);
    ASSERT_EQ(cursor.size(), kIconFiles[1].size);
    const IconImage umbrella{icon, 22}, hand{cursor, 22};

    for (const auto& [x, y] : {std::pair{0, 0}, {31, 0}, {0, 31}, {31, 31}, {24, 22}}) {
        EXPECT_TRUE(umbrella.Transparent(x, y)) << x << ", " << y;
        EXPECT_EQ(umbrella.Index(x, y), 0u) << "transparent pixels keep black under the mask";
    }
    // Canopy panels either side of the middle rib: opaque, and blue is the strongest channel.
    for (const auto& [x, y] : {std::pair{8, 10}, {22, 10}, {12, 6}}) {
        EXPECT_FALSE(umbrella.Transparent(x, y)) << x << ", " << y;
        const std::uint32_t c = umbrella.Colour(x, y);
        const unsigned red = c >> 16, green = (c >> 8) & 0xFF, blue = c & 0xFF;
        EXPECT_TRUE(blue >= 150 && blue > green + 40 && blue > red + 60) << std::hex << c;
    }

    for (const auto& [x, y] : {std::pair{0, 0}, {31, 31}, {20, 2}, {2, 20}}) {
        EXPECT_TRUE(hand.Transparent(x, y)) << x << ", " << y;
    }
    const struct {
        int x, y;
        std::uint32_t colour;
    } opaque[] = {
        {12, 1, 0xFFFFFF},   // the fingertip under the hot spot
        {12, 0, 0x000000},   // the outline above it
        {10, 4, 0x000000},   // the finger's left outline
        {16, 16, 0xFFFFFF},  // the palm
    };
    for (const auto& p : opaque) {
        EXPECT_FALSE(hand.Transparent(p.x, p.y)) << p.x << ", " << p.y;
        EXPECT_EQ(hand.Colour(p.x, p.y), p.colour) << p.x << ", " << p.y;
    }
}

}  // namespace
}  // namespace pelluna
