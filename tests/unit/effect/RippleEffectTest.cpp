// The raindrop ripple effect against the recording fakes: set-up, pens, the simulation, the drawn rings.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "Pelluna_C3Peer.h"
#include "ScriptedRandom.h"
#include "effect/Pelluna_C3.h"
#include "settings/SettingsValues.h"

namespace pelluna {

namespace {

using testing::FakeGdi;
using testing::FakePlatform;
using testing::ScriptedRandom;
using Calls = std::vector<std::string>;
using Drop = Pelluna_C3::Drop;

constexpr Hdc kFrameDC = 0xF00D;

// A ring as the pictures shows it: its rectangle, and the level and family of its pen read back from the
// pen's colour.
struct Ring {
    Rect rect;
    int level;
    int family;
    friend bool operator==(const Ring&, const Ring&) = default;
};

void PrintTo(const Ring& ring, std::ostream* os) {
    *os << "{" << ring.rect.left << "," << ring.rect.top << "," << ring.rect.right << "," << ring.rect.bottom
        << " L" << ring.level << " F" << ring.family << "}";
}

// Families as component masks (red, green, blue): red, green, blue, yellow, cyan, magenta.
constexpr int kMasks[6][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}};

ColorRef Colour(int level, int family) {
    const auto c = static_cast<std::uint32_t>(level * 16);
    return Rgb(c * kMasks[family][0], c * kMasks[family][1], c * kMasks[family][2]);
}

class RippleEffect : public ::testing::Test {
  protected:
    void SetUp() override {
        testing::ResetProcessValues();
        gDropsCount = 25;
        gRippleSpeed = 100;
        gRippleSize = 100;
        gFallSpeed = 800;
        gFallAngle = -1.56f;
        fake.clock.secondsSinceMidnight = 3600.25;
    }
    void TearDown() override { testing::ResetProcessValues(); }

    void Construct(std::int32_t width, std::int32_t height) {
        bool useTransition = false;
        ASSERT_TRUE(effect.Construct(width, height, useTransition));
        EXPECT_TRUE(useTransition);
        fake.log.Clear();
        fake.gdi.ClearShapes();
        random = ScriptedRandom{};
    }
    void Set(int number, std::int32_t state, float x, float y, float value) {
        Pelluna_C3Peer::SetDrop(effect, number, state, x, y, value);
    }
    const Drop& DropNo(int number) const { return effect.Drops()[number - 1]; }

    // The rings of one frame, in drawing order.
    std::vector<Ring> Frame() {
        fake.gdi.ClearShapes();
        effect.DrawCurrentFrame(kFrameDC);
        std::vector<Ring> rings;
        for (const FakeGdi::Shape& shape : fake.gdi.Ellipses()) {
            EXPECT_EQ(shape.dc, kFrameDC);
            EXPECT_EQ(shape.brush, FakeGdi::StockObject(win::NULL_BRUSH));
            const std::optional<ColorRef> colour = fake.gdi.PenColor(shape.pen);
            EXPECT_TRUE(colour.has_value()) << "ring drawn without one of the effect's pens";
            Ring ring{shape.rect, -1, -1};
            for (int level = 0; level < 16; ++level) {
                for (int family = 0; family < 6; ++family) {
                    if (colour == Colour(level, family) && level > 0) ring = Ring{shape.rect, level, family};
                }
            }
            rings.push_back(ring);
        }
        return rings;
    }

    FakePlatform fake;
    ScriptedRandom random;
    Pelluna_C3 effect{fake.gdi, fake.kernel, fake.clock, random};
};

TEST_F(RippleEffect, ConstructScalesByWidthAndMakesTheNinetySixPensInOrder) {
    gDropsCount = 2;
    random.values = {0.5f, 0.25f, 0.75f, 0.125f, 1.0f - 0x1p-24f, 0.0f};
    bool useTransition = false;
    ASSERT_TRUE(effect.Construct(1920, 1080, useTransition));
    EXPECT_TRUE(useTransition);

    EXPECT_EQ(effect.Scale(), 1.875f);
    EXPECT_EQ(effect.GrowSpeed(), 187.5f);
    EXPECT_EQ(effect.MaxRadius(), 187.5f);
    EXPECT_FLOAT_EQ(effect.FallX(), static_cast<float>(std::cos(-1.56f) * 800.0 * 1.875));
    EXPECT_FLOAT_EQ(effect.FallY(), static_cast<float>(std::fabs(std::sin(-1.56f) * 800.0) * 1.875));
    EXPECT_NEAR(effect.FallX(), 8.6 * 1.875, 0.1);
    EXPECT_NEAR(effect.FallY(), 800 * 1.875, 0.5);

    // Seeded from the clock before the drops are reset, three numbers per drop.
    EXPECT_EQ(random.reseeds, (std::vector<double>{3600.25}));
    EXPECT_EQ(random.drawn, 6u);
    EXPECT_EQ(DropNo(1).nState, 0);
    EXPECT_FLOAT_EQ(DropNo(1).sngX, 960.0f);
    EXPECT_FLOAT_EQ(DropNo(1).sngY, -270.0f);
    EXPECT_FLOAT_EQ(DropNo(1).sngLandOrRadius, 810.0f);
    EXPECT_FLOAT_EQ(DropNo(2).sngX, 240.0f);
    EXPECT_NEAR(DropNo(2).sngY, -1080.0f, 1e-3);
    EXPECT_GT(DropNo(2).sngY, -1080.0f);
    EXPECT_EQ(DropNo(2).sngLandOrRadius, 0.0f);

    // Level by level, the six families in order; width 0 means one pixel.
    const Calls pens = fake.log.CallsTo("CreatePen(");
    ASSERT_EQ(pens.size(), 96u);
    for (int level = 0; level < 16; ++level) {
        for (int family = 0; family < 6; ++family) {
            EXPECT_EQ(pens[level * 6 + family],
                      "CreatePen(0, 0, " + std::to_string(Colour(level, family)) + ")")
                << "level " << level << " family " << family;
        }
    }
    EXPECT_EQ(fake.gdi.PenColor(fake.gdi.PensMade()[15 * 6 + 4]), Rgb(0, 240, 240));
}

TEST_F(RippleEffect, DestructDeletesEveryPenOnceInTheOrderTheyWereMade) {
    Construct(1024, 768);
    const std::vector<Hgdiobj> made = fake.gdi.PensMade();
    effect.Destruct();
    Calls expected;
    for (const Hgdiobj pen : made) expected.push_back("DeleteObject(" + std::to_string(pen) + ")");
    EXPECT_EQ(fake.log.Calls(), expected);
    EXPECT_TRUE(fake.gdi.Alive().empty());
    // Stock objects are never deleted, and nothing is deleted twice.
    fake.log.Clear();
    effect.Destruct();
    EXPECT_TRUE(fake.log.Calls().empty());
}

TEST_F(RippleEffect, EraseBackgroundFillsThePictureBlackWithStockObjects) {
    Construct(1920, 1080);
    effect.EraseBackground(kFrameDC);
    const std::string dc = std::to_string(kFrameDC);
    EXPECT_EQ(
        fake.log.Calls(),
        (Calls{
            "GetStockObject(7)", "SelectObject(" + dc + ", " + std::to_string(FakeGdi::StockObject(7)) + ")",
            "GetStockObject(4)", "SelectObject(" + dc + ", " + std::to_string(FakeGdi::StockObject(4)) + ")",
            "Rectangle(" + dc + ", 0, 0, 1920, 1080)"}));
    EXPECT_EQ(fake.gdi.SelectedPen(kFrameDC), FakeGdi::StockObject(win::BLACK_PEN));
}

TEST_F(RippleEffect, AFrameDrawsTheRingsOfEachRipplingDropWithItsLevelsAndFamily) {
    gDropsCount = 3;
    Construct(1920, 1080);              // scale 1.875, maximum radius 187.5
    Set(1, 1, 100.5f, 200.5f, 40.4f);   // r 40; level round((1 - 40/187.5) * 7.5 + 5) = 11
    Set(2, 0, 900.0f, 500.0f, 600.0f);  // falling: never drawn
    Set(3, 1, 1000.25f, 50.75f, 9.6f);  // r 10; level round((1 - 10/187.5) * 9 + 5) = 14
    random.values = {0.5f, 0.8f};
    EXPECT_EQ(Frame(), (std::vector<Ring>{
                           // Halves go to the even neighbour: 20.5 -> 20, 160.5 -> 160, 175.5 -> 176.
                           {{20, 160, 180, 240}, 11, 1},
                           {{50, 176, 150, 226}, 9, 1},
                           {{70, 186, 130, 216}, 7, 1},
                           {{82, 192, 118, 210}, 5, 1},
                           {{90, 196, 110, 206}, 3, 1},
                           {{94, 198, 106, 204}, 1, 1},
                           // Drop 3 is yellow: r 10, 6, 3, 1.
                           {{980, 41, 1020, 61}, 14, 3},
                           {{988, 45, 1012, 57}, 12, 3},
                           {{994, 48, 1006, 54}, 10, 3},
                           {{998, 50, 1002, 52}, 8, 3},
                       }));
    EXPECT_EQ(random.drawn, 2u);
    // The outer ring is twice as wide as high.
    EXPECT_EQ(fake.gdi.Ellipses()[0].rect.right - fake.gdi.Ellipses()[0].rect.left,
              2 * (fake.gdi.Ellipses()[0].rect.bottom - fake.gdi.Ellipses()[0].rect.top));
    // The hollow brush comes first; the last ring's pen stays selected.
    EXPECT_EQ(fake.log.Calls()[0], "GetStockObject(5)");
    EXPECT_EQ(fake.gdi.SelectedPen(kFrameDC), fake.gdi.PensMade()[8 * 6 + 3]);
}

TEST_F(RippleEffect, RingsAtOrAbove700TimesScaleAreSkippedAndCostOneLevel) {
    gRippleSize = 1000;
    gDropsCount = 1;
    const struct {
        std::int32_t width;  // scale width / 1024: the limit is 700 times that
        float radius;
        float rnd;
        std::vector<Ring> rings;
    } cases[] = {
        // level round(0.3 * 6 + 5) = 7: 700 is skipped (j 7 -> 6), then 437, 273, 170.
        {1024,
         700.0f,
         0.2f,
         {{{-362, -53, 1386, 821}, 6, 1}, {{-34, 111, 1058, 657}, 4, 1}, {{172, 214, 852, 554}, 2, 1}}},
        // Just below the limit the outer ring is drawn: 699, 436, 272, 170.
        {1024,
         699.0f,
         0.2f,
         {{{-886, -315, 1910, 1083}, 7, 1},
          {{-360, -52, 1384, 820}, 5, 1},
          {{-32, 112, 1056, 656}, 3, 1},
          {{172, 214, 852, 554}, 1, 1}}},
        // level round(0.1 * 6 + 5) = 6: 900 skipped, then 562, 351, 219.
        {1024,
         900.0f,
         0.2f,
         {{{-612, -178, 1636, 946}, 5, 1}, {{-190, 33, 1214, 735}, 3, 1}, {{74, 165, 950, 603}, 1, 1}}},
        // At 1920 the limit is 1312.5 and the maximum 1875: 1312 is drawn at level
        // round((1 - 1312/1875) * 6 + 5) = 7, then 820, 512, 320.
        {1920,
         1312.0f,
         0.2f,
         {{{-2112, -928, 3136, 1696}, 7, 1},
          {{-1128, -436, 2152, 1204}, 5, 1},
          {{-512, -128, 1536, 896}, 3, 1},
          {{-128, 64, 1152, 704}, 1, 1}}},
        // 1313 is above the limit: skipped at level 7, then 820, 512, 320 one level lower.
        {1920,
         1313.0f,
         0.2f,
         {{{-1128, -436, 2152, 1204}, 6, 1}, {{-512, -128, 1536, 896}, 4, 1}, {{-128, 64, 1152, 704}, 2, 1}}},
    };
    for (const auto& c : cases) {
        Construct(c.width, 768);
        Set(1, 1, 512.0f, 384.0f, c.radius);
        random.values = {c.rnd};
        EXPECT_EQ(Frame(), c.rings) << "width " << c.width << " radius " << c.radius;
    }
}

TEST_F(RippleEffect, AnOuterRadiusOfExactlyHalfRoundsToTheEvenNeighbour) {
    gDropsCount = 1;
    Construct(1024, 768);
    for (const auto& [radius, r] : {std::pair{40.5f, 40}, std::pair{41.5f, 42}}) {
        Set(1, 1, 500.0f, 300.0f, radius);
        random.values = {0.0f};
        const std::vector<Ring> rings = Frame();
        ASSERT_FALSE(rings.empty()) << radius;
        EXPECT_EQ(rings[0].rect, (Rect{500 - 2 * r, 300 - r, 500 + 2 * r, 300 + r})) << radius;
    }
}

TEST_F(RippleEffect, TheClockIsFoldedInBeforeTheDropsAreSetAndBeforeALandingDrawsItsRadius) {
    gDropsCount = 2;
    random.values = {0.5f, 0.0f, 0.0f, 0.5f, 0.5f, 0.5f};  // drop 1 lands at once, drop 2 keeps falling
    random.whenExhausted = 0.25f;
    bool useTransition = false;
    ASSERT_TRUE(effect.Construct(1024, 768, useTransition));
    EXPECT_EQ(random.events, "R" + std::string(6, 'N'));
    random.events.clear();
    effect.Tick(10);
    EXPECT_EQ(random.events, "RN");
    EXPECT_EQ(DropNo(1).nState, 1);
}

TEST_F(RippleEffect, ARippleShowsAtMostEightRings) {
    gRippleSize = 1e6f;
    gDropsCount = 1;
    Construct(1024, 768);
    Set(1, 1, 512.0f, 384.0f, 100.0f);
    random.values = {1.0f - 0x1p-24f};  // level round((1 - 1e-4) * ~10 + 5) = 15
    const std::vector<Ring> rings = Frame();
    ASSERT_EQ(rings.size(), 8u);
    const int radii[] = {100, 62, 38, 23, 14, 8, 5, 3};
    for (int k = 0; k < 8; ++k) {
        EXPECT_EQ(rings[k].level, 15 - 2 * k);
        EXPECT_EQ(rings[k].rect,
                  (Rect{512 - 2 * radii[k], 384 - radii[k], 512 + 2 * radii[k], 384 + radii[k]}));
    }
}

TEST_F(RippleEffect, DropNumbersThatDifferBySixShareAColourFamily) {
    gDropsCount = 13;
    Construct(1024, 768);
    for (int number = 1; number <= 13; ++number)
        Set(number, 1, 100.0f * static_cast<float>(number), 300.0f, 2.0f);
    random.values.assign(13,
                         0.0f);  // level round((1 - 2/100) * 5 + 5) = 10: one ring each (r 2, then 1 at j 8)
    std::vector<int> families;
    for (const Ring& ring : Frame()) {
        if (ring.level == 10) families.push_back(ring.family);
    }
    EXPECT_EQ(families, (std::vector<int>{1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5, 0, 1}));
}

TEST_F(RippleEffect, FallingDropsMoveAndALandingDropStartsOneStepBack) {
    Construct(1920, 1080);
    Set(1, 0, 500.0f, 100.0f, 300.0f);  // above its landing height: falls
    Set(2, 0, 700.0f, 300.0f, 300.0f);  // at its landing height: lands
    Set(3, 0, 900.0f, 301.5f, 300.0f);  // past it: lands too
    gDropsCount = 3;
    random.values = {0.4f, 0.0f};
    fake.clock.secondsSinceMidnight = 3601.5;
    effect.Tick(16);
    const float dt = static_cast<float>(16 * 0.001);
    const float dx = dt * effect.FallX();
    const float dy = dt * effect.FallY();
    EXPECT_EQ(DropNo(1).nState, 0);
    EXPECT_FLOAT_EQ(DropNo(1).sngX, 500.0f + dx);
    EXPECT_FLOAT_EQ(DropNo(1).sngY, 100.0f + dy);
    EXPECT_EQ(DropNo(1).sngLandOrRadius, 300.0f);
    EXPECT_EQ(DropNo(2).nState, 1);
    EXPECT_FLOAT_EQ(DropNo(2).sngX, 700.0f - dx);
    EXPECT_FLOAT_EQ(DropNo(2).sngY, 300.0f - dy);
    // The first radius lies between 1 and 1 + 5 x scale, and does not grow in the landing tick.
    EXPECT_FLOAT_EQ(DropNo(2).sngLandOrRadius, 0.4f * 5 * 1.875f + 1);
    EXPECT_EQ(DropNo(3).nState, 1);
    EXPECT_FLOAT_EQ(DropNo(3).sngY, 301.5f - dy);
    EXPECT_EQ(DropNo(3).sngLandOrRadius, 1.0f);
    EXPECT_EQ(random.drawn, 2u);
    EXPECT_EQ(random.reseeds, (std::vector<double>{3601.5}));  // before the first landing draws
}

TEST_F(RippleEffect, RipplesGrowAndEndOnlyWhenTheRadiusExceedsTheMaximum) {
    gDropsCount = 2;
    Construct(1024, 768);  // grows 100 px per second up to 100 px
    Set(1, 1, 10.0f, 20.0f, 50.0f);
    Set(2, 1, 30.0f, 40.0f, 90.0f);
    effect.Tick(100);
    EXPECT_EQ(DropNo(1).sngLandOrRadius, 60.0f);
    EXPECT_EQ(DropNo(1).sngX, 10.0f);  // a ripple does not move
    // Exactly the maximum is not enough to end.
    EXPECT_EQ(DropNo(2).nState, 1);
    EXPECT_EQ(DropNo(2).sngLandOrRadius, 100.0f);
    EXPECT_EQ(random.drawn, 0u);

    random.values = {0.5f, 0.25f, 0.75f};
    effect.Tick(1);
    EXPECT_EQ(DropNo(1).nState, 1);
    EXPECT_FLOAT_EQ(DropNo(1).sngLandOrRadius, 60.1f);
    // Reset, and not moved in the same tick.
    EXPECT_EQ(DropNo(2).nState, 0);
    EXPECT_EQ(DropNo(2).sngX, 512.0f);
    EXPECT_EQ(DropNo(2).sngY, -192.0f);
    EXPECT_EQ(DropNo(2).sngLandOrRadius, 576.0f);
}

TEST_F(RippleEffect, DefaultRippleGrowsToItsFullSizeInAboutOneSecond) {
    gDropsCount = 1;
    Construct(1024, 768);
    Set(1, 0, 400.0f, 200.0f, 200.0f);
    random.values = {0.6f};
    random.whenExhausted = 0.5f;
    effect.Tick(10);
    ASSERT_EQ(DropNo(1).nState, 1);
    EXPECT_FLOAT_EQ(DropNo(1).sngLandOrRadius, 4.0f);
    int ticks = 0;
    while (DropNo(1).nState == 1 && ticks < 1000) {
        effect.Tick(10);
        ++ticks;
    }
    EXPECT_EQ(ticks, 97);  // 4 + 97 x 1 > 100: the radius 100 itself survived one more tick
}

TEST_F(RippleEffect, TransitionMaskIsFilledWhiteOnceAndGrowsABlackEllipseForFiveSeconds) {
    Construct(1920, 1080);
    const std::string dc = std::to_string(kFrameDC);
    const auto stock = [](int index) { return std::to_string(FakeGdi::StockObject(index)); };
    EXPECT_TRUE(effect.DrawTransitionMask(kFrameDC));
    EXPECT_EQ(
        fake.log.Calls(),
        (Calls{"GetStockObject(6)", "SelectObject(" + dc + ", " + stock(6) + ")", "GetStockObject(0)",
               "SelectObject(" + dc + ", " + stock(0) + ")", "Rectangle(" + dc + ", 0, 0, 1920, 1080)",
               "MulDiv(1920, 0, 15000)", "MulDiv(1080, 0, 15000)", "GetStockObject(4)",
               "SelectObject(" + dc + ", " + stock(4) + ")", "Ellipse(" + dc + ", 960, 540, 960, 540)"}));
    EXPECT_EQ(fake.gdi.Ellipses().back().pen, FakeGdi::StockObject(win::WHITE_PEN));

    const struct {
        std::int32_t tick;
        bool running;
        Calls calls;
    } steps[] = {
        {3750,
         true,
         {"MulDiv(1920, 7500, 15000)", "MulDiv(1080, 7500, 15000)", "GetStockObject(4)",
          "SelectObject(" + dc + ", " + stock(4) + ")", "Ellipse(" + dc + ", 0, 0, 1920, 1080)"}},
        {1250,
         true,
         {"MulDiv(1920, 10000, 15000)", "MulDiv(1080, 10000, 15000)", "GetStockObject(4)",
          "SelectObject(" + dc + ", " + stock(4) + ")", "Ellipse(" + dc + ", -320, -180, 2240, 1260)"}},
        {1, false, {}},
    };
    for (const auto& step : steps) {
        effect.Tick(step.tick);
        fake.log.Clear();
        EXPECT_EQ(effect.DrawTransitionMask(kFrameDC), step.running) << effect.TotalMs();
        EXPECT_EQ(fake.log.Calls(), step.calls) << effect.TotalMs();
    }
}

TEST_F(RippleEffect, TheMaskEllipseStaysWithinHalfTheIntegerRangeSoItsExtentsFit) {
    const struct {
        std::int32_t width;
        std::int32_t tick;
        Rect ellipse;
    } cases[] = {
        // The widest picture at 5 s: the right edge would lie at 2505397589.
        {std::numeric_limits<std::int32_t>::max(), 5000, Rect{-357913942, -180, 1073741823, 1260}},
        // A total below zero turns the ellipse inside out, 2.87e9 wide unless held.
        {128741874, -83648, Rect{1073741823, 12585, -1073741824, -11505}},
    };
    for (const auto& c : cases) {
        Pelluna_C3 mask{fake.gdi, fake.kernel, fake.clock, random};
        bool useTransition = false;
        mask.Construct(c.width, 1080, useTransition);
        mask.Tick(c.tick);
        fake.gdi.ClearShapes();
        mask.DrawTransitionMask(kFrameDC);
        ASSERT_FALSE(fake.gdi.Ellipses().empty());
        EXPECT_EQ(fake.gdi.Ellipses().back().rect, c.ellipse) << c.width << " " << c.tick;
        mask.Destruct();
    }
}

TEST_F(RippleEffect, DropCountsOutsideTheTableUseAHundredOrNoDrops) {
    const struct {
        std::int32_t count;
        std::size_t drops;
    } cases[] = {{0, 0}, {101, 100}, {-5, 0}, {100, 100}};
    for (const auto& c : cases) {
        FakePlatform local;
        ScriptedRandom script;
        script.whenExhausted = 0.0f;  // every drop starts at y = 0 with its landing height 0
        gDropsCount = c.count;
        Pelluna_C3 ripples(local.gdi, local.kernel, local.clock, script);
        bool useTransition = false;
        ripples.Construct(1024, 768, useTransition);
        EXPECT_EQ(script.drawn, 3 * c.drops) << c.count;
        ripples.Tick(0);  // everything in use lands
        EXPECT_EQ(script.drawn, 4 * c.drops) << c.count;
        local.gdi.ClearShapes();
        ripples.DrawCurrentFrame(kFrameDC);
        // Each landed drop draws its ring r 1 at level round(0.99 x 5 + 5) = 10.
        EXPECT_EQ(local.gdi.Ellipses().size(), c.drops) << c.count;
        for (int i = static_cast<int>(c.drops); i < Pelluna_C3::kMaxDrops; ++i) {
            EXPECT_EQ(ripples.Drops()[i].nState, 0);
        }
    }
}

TEST_F(RippleEffect, ARippleThatCannotGrowToAPositiveMaximumDrawsNothingAndEndsAtOnce) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInfinity = std::numeric_limits<float>::infinity();
    const struct {
        float size;
        float speed;
    } cases[] = {{0.0f, 100.0f},  {-50.0f, 100.0f}, {kNaN, 100.0f},      {100.0f, 0.0f},
                 {100.0f, -5.0f}, {100.0f, kNaN},   {100.0f, kInfinity}, {100.0f, -kInfinity}};
    for (const auto& c : cases) {
        FakePlatform local;
        ScriptedRandom script;
        script.values = {0.5f, 0.0f, 0.0f, 0.3f};  // x 512, lands at once at y 0
        script.whenExhausted = 0.5f;
        gDropsCount = 1;
        gRippleSize = c.size;
        gRippleSpeed = c.speed;
        Pelluna_C3 ripples(local.gdi, local.kernel, local.clock, script);
        bool useTransition = false;
        ripples.Construct(1024, 768, useTransition);
        ripples.Tick(16);
        ASSERT_EQ(ripples.Drops()[0].nState, 1) << c.size << " " << c.speed;
        ripples.DrawCurrentFrame(kFrameDC);
        EXPECT_TRUE(local.gdi.Ellipses().empty()) << c.size << " " << c.speed;
        ripples.Tick(16);
        EXPECT_EQ(ripples.Drops()[0].nState, 0) << c.size << " " << c.speed;
    }
}

TEST_F(RippleEffect, RadiiAndPositionsBeyondTheIntegerRangeDrawNothing) {
    gDropsCount = 2;
    gRippleSize = std::numeric_limits<float>::max();
    Construct(1024, 768);
    Set(1, 1, 512.0f, 384.0f, 3e9f);
    Set(2, 1, std::numeric_limits<float>::infinity(), 384.0f, 50.0f);
    random.whenExhausted = 0.5f;
    EXPECT_TRUE(Frame().empty());
    // An infinite radius ends even against an infinite maximum.
    gRippleSize = std::numeric_limits<float>::infinity();
    Set(1, 1, 512.0f, 384.0f, std::numeric_limits<float>::infinity());
    effect.Tick(0);
    EXPECT_EQ(DropNo(1).nState, 0);
}

TEST_F(RippleEffect, ARingWiderThanTheIntegerRangeIsSkippedEvenWhenItsEdgesFit) {
    // On the widest picture the rings may reach 1.4e9 pixels in radius; a ring 4r wide beyond INT32_MAX
    // cannot be drawn, its inner rings can.
    gDropsCount = 1;
    gRippleSize = 1000.0f;
    Construct(std::numeric_limits<std::int32_t>::max(), 1080);
    Set(1, 1, 0.0f, 0.0f, 6e8f);  // edges at -1.2e9 and 1.2e9, width 2.4e9
    random.whenExhausted = 0.99f;
    const std::vector<Ring> rings = Frame();
    ASSERT_FALSE(rings.empty());
    EXPECT_EQ(rings[0].rect, (Rect{-750000000, -375000000, 750000000, 375000000}));  // r = 6e8 * 5 / 8
}

TEST_F(RippleEffect, TheTotalTimeStopsAtItsLimitInsteadOfOverflowing) {
    gDropsCount = 0;
    Construct(1024, 768);
    const std::int32_t max = std::numeric_limits<std::int32_t>::max();
    effect.Tick(max - 10);
    effect.Tick(max);
    EXPECT_EQ(effect.TotalMs(), max);
    EXPECT_FALSE(effect.DrawTransitionMask(kFrameDC));
    effect.Tick(-5);
    EXPECT_EQ(effect.TotalMs(), max - 5);
}

TEST_F(RippleEffect, ClockReseedsDoNotRestartTheSequenceWithinOneSecond) {
    // The real generator, with a clock that stands still.
    gDropsCount = 2;
    fake.clock.secondsSinceMidnight = 45296.0;
    Pelluna_C3 ripples(fake.gdi, fake.kernel, fake.clock);
    bool useTransition = false;
    ripples.Construct(1024, 768, useTransition);
    Pelluna_C3Peer::SetDrop(ripples, 1, 1, 10.0f, 10.0f, 100.5f);  // ends in the first tick
    Pelluna_C3Peer::SetDrop(ripples, 2, 1, 10.0f, 10.0f, 50.0f);
    ripples.Tick(0);
    const Drop first = ripples.Drops()[0];
    ASSERT_EQ(first.nState, 0);
    Pelluna_C3Peer::SetDrop(ripples, 2, 1, 10.0f, 10.0f, 100.5f);  // ends in the second tick
    ripples.Tick(0);
    const Drop second = ripples.Drops()[1];
    ASSERT_EQ(second.nState, 0);
    EXPECT_NE(first.sngX, second.sngX);
    EXPECT_NE(first.sngY, second.sngY);
    EXPECT_NE(first.sngLandOrRadius, second.sngLandOrRadius);
}

TEST(EffectInterface, DefaultsDoNothingAndReportNotReady) {
    Pelluna_C2 effect;
    bool useTransition = true;
    EXPECT_FALSE(effect.Construct(640, 480, useTransition));
    EXPECT_TRUE(useTransition);  // left as it was
    EXPECT_FALSE(effect.DrawTransitionMask(0x1234));
    effect.Tick(16);
    effect.EraseBackground(0x1234);
    effect.DrawCurrentFrame(0x1234);
    effect.Destruct();
}

TEST(DefaultRandom, GivesEvenlySpreadValuesBelowOne) {
    DefaultRandom random;
    random.Reseed(1234.5);
    int bins[10] = {};
    constexpr int kDraws = 100000;
    for (int i = 0; i < kDraws; ++i) {
        const float value = random.Next();
        ASSERT_GE(value, 0.0f);
        ASSERT_LT(value, 1.0f);
        ++bins[static_cast<int>(value * 10)];
    }
    for (const int count : bins) EXPECT_NEAR(count, kDraws / 10, kDraws / 100);
}

TEST(DefaultRandom, FoldingTheSameClockReadingNeverRewindsTheSequence) {
    DefaultRandom random;
    std::vector<float> seen;
    for (int tick = 0; tick < 200; ++tick) {
        random.Reseed(43200.0);
        seen.push_back(random.Next());
    }
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    // Two generators in different states stay different after the same reading.
    DefaultRandom a(1), b(2);
    a.Reseed(43200.0);
    b.Reseed(43200.0);
    EXPECT_NE(a.Next(), b.Next());
}

}  // namespace
}  // namespace pelluna
