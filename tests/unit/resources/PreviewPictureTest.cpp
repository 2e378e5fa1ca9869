// The stored preview picture: a baseline JFIF 1.1 JPEG of 152 x 112, three 8-bit components, 300 dpi.
#include <gtest/gtest.h>

#include "ResourceFiles.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelluna {
namespace {

std::vector<std::uint8_t> ReadPreview() {
    return testing::ReadResource("preview.jpg");
}

unsigned Be16(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return (unsigned{bytes[at]} << 8) | bytes[at + 1];
}

struct Segment {
    std::uint8_t marker;
    std::size_t body;    // first byte after the length field
    std::size_t length;  // bytes of body
};

struct Layout {
    std::vector<Segment> segments;  // every marker segment from the first after SOI up to and including SOS
    std::size_t scanData = 0;       // first byte of entropy-coded data
    bool wellFormed = false;
};

// Walks the marker segments the way a decoder does, stopping at the start of scan.
Layout ReadLayout(const std::vector<std::uint8_t>& bytes) {
    Layout layout;
    std::size_t at = 2;
    while (at + 4 <= bytes.size()) {
        if (bytes[at] != 0xFF) return layout;
        while (at < bytes.size() && bytes[at] == 0xFF) ++at;  // fill bytes
        if (at + 3 > bytes.size()) return layout;
        const std::uint8_t marker = bytes[at];
        const unsigned length = Be16(bytes, at + 1);
        if (length < 2 || at + 1 + length > bytes.size()) return layout;
        layout.segments.push_back({marker, at + 3, length - 2u});
        at += 1 + length;
        if (marker == 0xDA) {
            layout.scanData = at;
            layout.wellFormed = true;
            return layout;
        }
    }
    return layout;
}

class PreviewPicture : public ::testing::Test {
  protected:
    void SetUp() override {
        bytes_ = ReadPreview();
        ASSERT_GT(bytes_.size(), 200u) << "cannot read " << testing::ResourcePath("preview.jpg").string();
        layout_ = ReadLayout(bytes_);
        ASSERT_TRUE(layout_.wellFormed) << "marker segments do not lead to a scan";
    }

    std::vector<Segment> WithMarker(std::uint8_t marker) const {
        std::vector<Segment> found;
        for (const Segment& s : layout_.segments)
            if (s.marker == marker) found.push_back(s);
        return found;
    }

    std::vector<std::uint8_t> bytes_;
    Layout layout_;
};

TEST_F(PreviewPicture, StartsWithSoiAndAJfif11HeaderAt300Dpi) {
    const std::uint8_t expected[] = {
        0xFF, 0xD8,                    // SOI
        0xFF, 0xE0, 0x00, 0x10,        // APP0, 16 bytes
        'J',  'F',  'I',  'F',  0x00,  // identifier
        0x01, 0x01,                    // version 1.1
        0x01,                          // density in dots per inch
        0x01, 0x2C, 0x01, 0x2C,        // 300 x 300
        0x00, 0x00,                    // no thumbnail
    };
    ASSERT_GE(bytes_.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) EXPECT_EQ(bytes_[i], expected[i]) << "byte " << i;
}

TEST_F(PreviewPicture, BaselineFrameIs152By112WithThreeEightBitComponents) {
    const auto frames = WithMarker(0xC0);
    ASSERT_EQ(frames.size(), 1u);
    const Segment& sof = frames[0];
    ASSERT_EQ(sof.length, 6u + 3u * 3u);
    const struct {
        const char* field;
        unsigned actual;
        unsigned expected;
    } cases[] = {
        {"precision", bytes_[sof.body], 8},
        {"height", Be16(bytes_, sof.body + 1), 112},
        {"width", Be16(bytes_, sof.body + 3), 152},
        {"components", bytes_[sof.body + 5], 3},
    };
    for (const auto& c : cases) EXPECT_EQ(c.actual, c.expected) << c.field;

    for (std::size_t i = 0; i < 3; ++i) {
        const std::size_t at = sof.body + 6 + 3 * i;
        const unsigned h = bytes_[at + 1] >> 4, v = bytes_[at + 1] & 0x0F;
        EXPECT_EQ(bytes_[at], i + 1) << "component id " << i;
        EXPECT_TRUE(h >= 1 && h <= 2 && v >= 1 && v <= 2) << "sampling of component " << i;
        EXPECT_LE(bytes_[at + 2], 1u) << "quantisation table of component " << i;
    }
}

TEST_F(PreviewPicture, HasNoOtherFrameKindAndNoProgressiveFrame) {
    EXPECT_TRUE(WithMarker(0xC2).empty());
    for (const Segment& s : layout_.segments) {
        const bool frame =
            s.marker >= 0xC0 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 && s.marker != 0xCC;
        if (frame) {
            EXPECT_EQ(s.marker, 0xC0) << "frame marker " << int{s.marker};
        }
    }
}

TEST_F(PreviewPicture, CarriesItsTablesBeforeOneScanOfAllThreeComponents) {
    EXPECT_FALSE(WithMarker(0xDB).empty()) << "quantisation tables";
    EXPECT_FALSE(WithMarker(0xC4).empty()) << "Huffman tables";
    const Segment& sos = layout_.segments.back();
    ASSERT_EQ(sos.marker, 0xDA);
    ASSERT_EQ(sos.length, 1u + 2u * 3u + 3u);
    EXPECT_EQ(bytes_[sos.body], 3u);
    const std::size_t tail = sos.body + 7;
    EXPECT_EQ(bytes_[tail], 0u) << "spectral start";
    EXPECT_EQ(bytes_[tail + 1], 63u) << "spectral end";
    EXPECT_EQ(bytes_[tail + 2], 0u) << "successive approximation";
}

TEST_F(PreviewPicture, ScanDataHasNoStrayMarkersAndTheFileEndsWithEoi) {
    ASSERT_GE(bytes_.size(), layout_.scanData + 2);
    EXPECT_EQ(bytes_[bytes_.size() - 2], 0xFF);
    EXPECT_EQ(bytes_[bytes_.size() - 1], 0xD9);
    // Inside the entropy-coded data a 0xFF is always stuffed with 0x00; anything else would end it early.
    for (std::size_t i = layout_.scanData; i + 2 < bytes_.size(); ++i) {
        if (bytes_[i] != 0xFF) continue;
        ASSERT_EQ(bytes_[i + 1], 0x00) << "unstuffed 0xFF at " << i;
        ++i;
    }
}

}  // namespace
}  // namespace pelluna
