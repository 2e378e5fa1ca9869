// The Command button's face against fakes: the calls of one paint, the eight border copies for several
// face sizes and scales, the gradient's vertices and colour channels, and the caption's place.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "FakeCommandHost.h"
#include "FakePlatform.h"
#include "controls/Command.h"

namespace pelluna {
namespace {

using testing::Call;
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using testing::FakeCommandHost;
using testing::FakePlatform;
using testing::FakeUser;

constexpr Hdc kSurface = FakeCommandHost::kSurfaceDC;

class CommandPaintTest : public ::testing::Test {
  protected:
    FakePlatform fake_;
    FakeCommandHost host_{fake_.log};
    Command command_{fake_.user, fake_.gdi, host_};
};

TEST_F(CommandPaintTest, OnePaintIsAClearAGradientEightCopiesARefreshAndTheCaptionPlaced) {
    command_.PaintFace(CommandPicture::Selected);
    const Hdc picture = FakeCommandHost::PictureDCOf(CommandPicture::Selected);
    auto copy = [&](int x, int y, int w, int h, int sx, int sy, int sw, int sh) {
        return Call("StretchBlt", kSurface, x, y, w, h, picture, sx, sy, sw, sh, win::SRCCOPY);
    };
    EXPECT_THAT(
        fake_.log.Calls(),
        ElementsAre(
            "GetSysColorBrush(15)",
            Call("FillRect", kSurface, 0, 0, 85, 25, FakeUser::SysColorBrush(win::COLOR_BTNFACE)),
            Call("GradientFill", kSurface,
                 "{(0, 0, FF00, FF00, FF00, 0000), (84, 24, C600, C500, D700, 0000)}", 2, "{[1, 0]}", 1, 1),
            copy(0, 0, 4, 4, 0, 0, 4, 4), copy(4, 0, 77, 4, 4, 0, 56, 4), copy(81, 0, 4, 4, 60, 0, 4, 4),
            copy(81, 4, 4, 17, 60, 4, 4, 17), copy(81, 21, 4, 4, 60, 21, 4, 4),
            copy(4, 21, 77, 4, 4, 21, 56, 4), copy(0, 21, 4, 4, 0, 21, 4, 4), copy(0, 4, 4, 17, 0, 4, 4, 17),
            "Host.Refresh()",
            // (375 - 195 - 20) / 2 twips from the top, across the whole 1275-twip width.
            "Label.Move(0, 80, 1275)"));
}

TEST_F(CommandPaintTest, TheEightBorderCopiesForFacesOfSeveralSizesAndScales) {
    // The picture's pieces in pixels, the same for every face.
    const BlitRect sources[8] = {{0, 0, 4, 4},   {4, 0, 56, 4},  {60, 0, 4, 4}, {60, 4, 4, 17},
                                 {60, 21, 4, 4}, {4, 21, 56, 4}, {0, 21, 4, 4}, {0, 4, 4, 17}};
    const struct {
        std::int32_t width, height;
        double twipsPerPixel;
        std::vector<BlitRect> destinations;  // in drawing order; left-out pieces are missing
    } faces[] = {
        // The picture's own size: every piece lands where it comes from.
        {64,
         25,
         15.0,
         {{0, 0, 4, 4},
          {4, 0, 56, 4},
          {60, 0, 4, 4},
          {60, 4, 4, 17},
          {60, 21, 4, 4},
          {4, 21, 56, 4},
          {0, 21, 4, 4},
          {0, 4, 4, 17}}},
        // Wider and narrower faces stretch only the top and bottom edges.
        {85,
         25,
         15.0,
         {{0, 0, 4, 4},
          {4, 0, 77, 4},
          {81, 0, 4, 4},
          {81, 4, 4, 17},
          {81, 21, 4, 4},
          {4, 21, 77, 4},
          {0, 21, 4, 4},
          {0, 4, 4, 17}}},
        {29,
         25,
         15.0,
         {{0, 0, 4, 4},
          {4, 0, 21, 4},
          {25, 0, 4, 4},
          {25, 4, 4, 17},
          {25, 21, 4, 4},
          {4, 21, 21, 4},
          {0, 21, 4, 4},
          {0, 4, 4, 17}}},
        // Taller: only the side edges grow.
        {64,
         40,
         15.0,
         {{0, 0, 4, 4},
          {4, 0, 56, 4},
          {60, 0, 4, 4},
          {60, 4, 4, 32},
          {60, 36, 4, 4},
          {4, 36, 56, 4},
          {0, 36, 4, 4},
          {0, 4, 4, 32}}},
        // 144 dots per inch (10 twips per pixel): the 85 x 25 button of 96 dpi, with a 6-pixel border.
        {128,
         38,
         10.0,
         {{0, 0, 6, 6},
          {6, 0, 116, 6},
          {122, 0, 6, 6},
          {122, 6, 6, 26},
          {122, 32, 6, 6},
          {6, 32, 116, 6},
          {0, 32, 6, 6},
          {0, 6, 6, 26}}},
        // 120 dots per inch (12 twips per pixel): a 5-pixel border.
        {106,
         31,
         12.0,
         {{0, 0, 5, 5},
          {5, 0, 96, 5},
          {101, 0, 5, 5},
          {101, 5, 5, 21},
          {101, 26, 5, 5},
          {5, 26, 96, 5},
          {0, 26, 5, 5},
          {0, 5, 5, 21}}},
        // 36 000 twips wide, beyond 16 bits: still exact.
        {2400,
         25,
         15.0,
         {{0, 0, 4, 4},
          {4, 0, 2392, 4},
          {2396, 0, 4, 4},
          {2396, 4, 4, 17},
          {2396, 21, 4, 4},
          {4, 21, 2392, 4},
          {0, 21, 4, 4},
          {0, 4, 4, 17}}},
        // Under 8 x 8 pixels the edges would have no length: only the four corners are drawn.
        {6, 6, 15.0, {{0, 0, 4, 4}, {2, 0, 4, 4}, {2, 2, 4, 4}, {0, 2, 4, 4}}},
    };
    const std::size_t cornerOfSmallFace[] = {0, 2, 4, 6};
    for (const auto& face : faces) {
        SCOPED_TRACE(::testing::Message()
                     << face.width << " x " << face.height << " at " << face.twipsPerPixel);
        fake_.log.Clear();
        host_.width = face.width;
        host_.height = face.height;
        host_.twipsPerPixelX = host_.twipsPerPixelY = face.twipsPerPixel;
        command_.PaintFace(CommandPicture::Normal);
        std::vector<std::string> expected;
        for (std::size_t i = 0; i < face.destinations.size(); ++i) {
            const BlitRect& to = face.destinations[i];
            const BlitRect& from = sources[face.destinations.size() == 8 ? i : cornerOfSmallFace[i]];
            expected.push_back(Call("StretchBlt", kSurface, to.x, to.y, to.width, to.height,
                                    FakeCommandHost::PictureDCOf(CommandPicture::Normal), from.x, from.y,
                                    from.width, from.height, win::SRCCOPY));
        }
        EXPECT_THAT(fake_.log.CallsTo("StretchBlt("), ElementsAreArray(expected));
    }
}

TEST_F(CommandPaintTest, TheGradientCoversAllButTheLastColumnAndRowAndIsLeftOutOnATinyFace) {
    const struct {
        std::int32_t width, height;
        std::vector<std::string> fills;
    } faces[] = {
        {64, 25, {"(63, 24, C600, C500, D700, 0000)"}},
        {29, 25, {"(28, 24, C600, C500, D700, 0000)"}},
        {2, 2, {"(1, 1, C600, C500, D700, 0000)"}},
        {1, 25, {}},
        {40, 1, {}},
        {0, 0, {}},
    };
    for (const auto& face : faces) {
        SCOPED_TRACE(::testing::Message() << face.width << " x " << face.height);
        fake_.log.Clear();
        host_.width = face.width;
        host_.height = face.height;
        command_.PaintFace(CommandPicture::Normal);
        std::vector<std::string> expected;
        for (const std::string& corner : face.fills) {
            expected.push_back(Call("GradientFill", kSurface,
                                    "{(0, 0, FF00, FF00, FF00, 0000), " + corner + "}", 2, "{[1, 0]}", 1, 1));
        }
        EXPECT_THAT(fake_.log.CallsTo("GradientFill("), ElementsAreArray(expected));
        // Nothing to clear on an empty face.
        EXPECT_EQ(fake_.log.CallsTo("FillRect(").size(), face.width > 0 ? 1u : 0u);
    }
}

TEST_F(CommandPaintTest, ColourTextsGiveTheirDigitPairsInTheHighByteOfEachChannel) {
    using Channels = std::array<std::uint16_t, 3>;
    const struct {
        const wchar_t* text;
        std::optional<Channels> channels;
    } cases[] = {
        {L"&HFFFFFF", Channels{0xFF00, 0xFF00, 0xFF00}},
        {L"&HC6C5D7", Channels{0xC600, 0xC500, 0xD700}},
        {L"&hc6c5d7", Channels{0xC600, 0xC500, 0xD700}},
        // Fewer than six digits count as six with zeros in front.
        {L"&HC5D7", Channels{0x0000, 0xC500, 0xD700}},
        // More than six: the first six digits are read.
        {L"&H1C6C5D7", Channels{0x1C00, 0x6C00, 0x5D00}},
        {L"C6C5D7", std::nullopt},
        {L"&HC6C5G7", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.text);
        EXPECT_EQ(Command::GradientChannels(c.text), c.channels);
    }
}

TEST_F(CommandPaintTest, TheCaptionIsCentredFromItsOwnHeightAtEveryPaint) {
    const struct {
        std::int32_t width, height;
        double twipsPerPixel;
        float labelHeight;
        const char* move;
    } cases[] = {
        {85, 25, 15.0, 195.0f, "Label.Move(0, 80, 1275)"},
        {29, 25, 15.0, 195.0f, "Label.Move(0, 80, 435)"},
        {128, 38, 10.0, 195.0f, "Label.Move(0, 82.5, 1280)"},
        {85, 25, 15.0, 240.0f, "Label.Move(0, 57.5, 1275)"},
        // 36 000 twips high: still the true middle.
        {64, 2400, 15.0, 195.0f, "Label.Move(0, 17892.5, 960)"},
    };
    for (const auto& c : cases) {
        fake_.log.Clear();
        host_.width = c.width;
        host_.height = c.height;
        host_.twipsPerPixelX = host_.twipsPerPixelY = c.twipsPerPixel;
        host_.label.height = c.labelHeight;
        command_.PaintFace(CommandPicture::HighLight);
        EXPECT_THAT(fake_.log.CallsTo("Label."), ElementsAre(c.move));
    }
}

}  // namespace
}  // namespace pelluna
