// Fuzz target: the ripple effect fed settings values, picture sizes and elapsed times over many frames.
//
// Input lines (any order for the settings, which apply before Construct; the rest run in order):
//   drops N | speed F | size F | width N | height N | clock SECONDS
//   tick MS [COUNT]   COUNT frames (default 1) as the saver runs them: erase, Tick (MS), draw
//   mask              one transition mask into a monochrome surface of the picture's size
#include <algorithm>
#include <cstdint>
#include <limits>
#include <unordered_map>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "effect/Pelluna_C1.h"
#include "effect/Pelluna_C3.h"
#include "settings/SettingsValues.h"

namespace pelluna::fuzz {
namespace {

using testing::FakeGdi;

constexpr int kMaxFrames = 500;  // per input: enough for ripples to end and start again, still fast
constexpr std::int64_t kInt32Max = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kInt32Min = std::numeric_limits<std::int32_t>::min();

bool FitsInt32(std::int64_t value) {
    return value >= kInt32Min && value <= kInt32Max;
}

// The fake gdi with the effect's rules checked at every call.
class CheckedGdi final : public Gdi {
  public:
    explicit CheckedGdi(FakeGdi& fake) : fake_(fake) {}

    enum class Phase { Setup, Construct, Frame, Mask, Destruct };
    Phase phase = Phase::Setup;
    Hdc frameDC = 0;
    Hdc maskDC = 0;
    float scale = 0.0f;
    int ellipsesThisFrame = 0;
    int ringsAtMost = 0;  // eight for each drop in use

    // The 96 pens of the table, in the order made: level = index / 6, family = index % 6.
    const std::vector<Hgdiobj>& Pens() const { return fake_.PensMade(); }
    bool IsStock(Hgdiobj object) const {
        return object >= FakeGdi::StockObject(0) && object <= FakeGdi::StockObject(8);
    }
    int PenIndex(Hgdiobj object) const {
        const auto found = penIndex_.find(object);
        return found == penIndex_.end() ? -1 : found->second;
    }
    bool Alive(Hgdiobj object) const { return fake_.Alive().count(object) != 0; }

    Hdc CreateCompatibleDC(Hdc hDC) override {
        Require(phase == Phase::Setup, "device contexts are made only with the surfaces");
        return fake_.CreateCompatibleDC(hDC);
    }
    Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) override {
        Require(phase == Phase::Setup, "bitmaps are made only with the surfaces");
        return fake_.CreateCompatibleBitmap(hDC, cx, cy);
    }
    Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) override {
        if (phase == Phase::Frame || phase == Phase::Mask) {
            Require(hDC == (phase == Phase::Frame ? frameDC : maskDC),
                    "the effect draws into the DC it is given");
            const int index = PenIndex(object);
            Require(IsStock(object) || (index >= 0 && Alive(object)),
                    "only stock objects and the effect's own live pens are selected");
        }
        return fake_.SelectObject(hDC, object);
    }
    bool DeleteObject(Hgdiobj object) override {
        Require(phase == Phase::Destruct || phase == Phase::Setup, "objects are freed only at the end");
        Require(!IsStock(object), "stock objects are never deleted");
        Require(Alive(object), "an object is deleted once, and only one that was made");
        return fake_.DeleteObject(object);
    }
    bool DeleteDC(Hdc hDC) override {
        Require(Alive(hDC), "a device context is deleted once");
        return fake_.DeleteDC(hDC);
    }
    Hgdiobj GetStockObject(int index) override { return fake_.GetStockObject(index); }
    Hgdiobj CreatePen(int style, int width, ColorRef color) override {
        Require(phase == Phase::Construct, "pens are made only in Construct");
        Require(Pens().size() < 96, "Construct makes 96 pens");
        const auto index = static_cast<int>(Pens().size());
        const auto c = static_cast<std::uint32_t>(index / 6 * 16);
        const ColorRef table[] = {Rgb(c, 0, 0), Rgb(0, c, 0), Rgb(0, 0, c),
                                  Rgb(c, c, 0), Rgb(0, c, c), Rgb(c, 0, c)};
        Require(style == win::PS_SOLID && width == 0 && color == table[index % 6],
                "a solid one-pixel pen of the table's colour");
        const Hgdiobj pen = fake_.CreatePen(style, width, color);
        penIndex_[pen] = index;
        return pen;
    }
    bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) override {
        Require(left == 0 && top == 0, "a background fill starts at the origin");
        Require(FitsInt32(std::int64_t{right} - left) && FitsInt32(std::int64_t{bottom} - top),
                "a rectangle's extents fit 32 bits");
        const bool black = fake_.SelectedPen(hDC) == FakeGdi::StockObject(win::BLACK_PEN) &&
                           fake_.SelectedBrush(hDC) == FakeGdi::StockObject(win::BLACK_BRUSH);
        const bool white = fake_.SelectedPen(hDC) == FakeGdi::StockObject(win::WHITE_PEN) &&
                           fake_.SelectedBrush(hDC) == FakeGdi::StockObject(win::WHITE_BRUSH);
        Require(phase == Phase::Frame ? black : phase == Phase::Mask && white, "black frames, a white mask");
        return fake_.Rectangle(hDC, left, top, right, bottom);
    }
    bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) override {
        const std::int64_t width = std::int64_t{right} - left;
        const std::int64_t height = std::int64_t{bottom} - top;
        Require(FitsInt32(width) && FitsInt32(height), "an ellipse's extents fit 32 bits");
        if (phase == Phase::Mask) {
            Require(fake_.SelectedBrush(hDC) == FakeGdi::StockObject(win::BLACK_BRUSH),
                    "the mask's ellipse is black");
        } else {
            Require(phase == Phase::Frame, "ellipses are drawn only in frames");
            const int index = PenIndex(fake_.SelectedPen(hDC));
            Require(index >= 6, "a ring is drawn with a pen of the table, never of level 0");
            Require(fake_.SelectedBrush(hDC) == FakeGdi::StockObject(win::NULL_BRUSH), "rings are outlines");
            Require(height >= 2 && height % 2 == 0 && width == 2 * height, "a ring is twice as wide as high");
            Require(height < 1400.0 * scale, "a ring is drawn only below 700 pixels (scaled) in radius");
            Require(++ellipsesThisFrame <= ringsAtMost, "at most eight rings a drop");
        }
        return fake_.Ellipse(hDC, left, top, right, bottom);
    }
    bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                std::uint32_t rop) override {
        return fake_.BitBlt(hDest, x, y, cx, cy, hSrc, x1, y1, rop);
    }
    bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc_, std::uint32_t rop) override {
        return fake_.StretchBlt(hDest, xDest, yDest, wDest, hDest_, hSrc, xSrc, ySrc, wSrc, hSrc_, rop);
    }

    bool GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex, const GradientRect* mesh,
                      std::uint32_t nMesh, std::uint32_t mode) override {
        Require(false, "the effect draws only rectangles and ellipses");
        return fake_.GradientFill(hDC, vertices, nVertex, mesh, nMesh, mode);
    }

  private:
    FakeGdi& fake_;
    std::unordered_map<Hgdiobj, int> penIndex_;
};

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    testing::ResetProcessValues();
    gDropsCount = 25;
    gRippleSpeed = 100.0f;
    gRippleSize = 100.0f;
    gFallSpeed = 800.0f;
    gFallAngle = -1.56f;
    std::int32_t width = 1024;
    std::int32_t height = 768;
    testing::FakePlatform fake(932);
    fake.gdi.logCalls = false;  // thousands of frames: the checks look at each call as it comes
    const std::vector<std::string_view> lines = Lines(AsText(data, size));
    for (const std::string_view line : lines) {
        std::string_view value;
        if (Keyword(line, "drops", value)) gDropsCount = IntegerIn<std::int32_t>(value);
        if (Keyword(line, "speed", value)) gRippleSpeed = SingleIn(value);
        if (Keyword(line, "size", value)) gRippleSize = SingleIn(value);
        if (Keyword(line, "width", value)) width = IntegerIn<std::int32_t>(value);
        if (Keyword(line, "height", value)) height = IntegerIn<std::int32_t>(value);
        if (Keyword(line, "clock", value)) fake.clock.secondsSinceMidnight = DoubleIn(value);
    }

    CheckedGdi gdi(fake.gdi);
    {
        Pelluna_C3 effect(gdi, fake.kernel, fake.clock);
        gdi.phase = CheckedGdi::Phase::Construct;
        bool useTransition = false;
        Require(effect.Construct(width, height, useTransition) && useTransition, "Construct succeeds");
        Require(gdi.Pens().size() == 96, "Construct makes 96 pens");
        gdi.scale = effect.Scale();
        gdi.ringsAtMost = 8 * std::clamp<std::int32_t>(gDropsCount, 0, Pelluna_C3::kMaxDrops);

        gdi.phase = CheckedGdi::Phase::Setup;
        Pelluna_C1 frame(fake.user, gdi);
        Pelluna_C1 mask(fake.user, gdi);
        frame.CreateBlank(width, height, false);
        mask.CreateBlank(width, height, true);
        gdi.frameDC = frame.hDC();
        gdi.maskDC = mask.hDC();

        int frames = 0;
        for (const std::string_view line : lines) {
            std::string_view rest;
            if (Keyword(line, "mask", rest)) {
                gdi.phase = CheckedGdi::Phase::Mask;
                effect.DrawTransitionMask(mask.hDC());
            } else if (Keyword(line, "tick", rest)) {
                const std::size_t blank = rest.find(' ');
                const auto elapsed = IntegerIn<std::int32_t>(rest.substr(0, blank));
                const int count =
                    blank == std::string_view::npos ? 1 : IntegerIn<std::int32_t>(rest.substr(blank + 1));
                for (int i = 0; i < count && frames < kMaxFrames; ++i, ++frames) {
                    gdi.phase = CheckedGdi::Phase::Frame;
                    gdi.ellipsesThisFrame = 0;
                    effect.EraseBackground(frame.hDC());
                    effect.Tick(elapsed);
                    effect.DrawCurrentFrame(frame.hDC());
                    for (const Pelluna_C3::Drop& drop : effect.Drops()) {
                        Require(drop.nState == 0 || drop.nState == 1, "a drop falls or ripples");
                    }
                    fake.gdi.ClearShapes();  // each frame's shapes were checked as they came
                }
            }
            if (frames >= kMaxFrames) break;
        }

        gdi.phase = CheckedGdi::Phase::Destruct;
        effect.Destruct();
        for (const Hgdiobj pen : gdi.Pens()) Require(!gdi.Alive(pen), "Destruct frees every pen");
        gdi.phase = CheckedGdi::Phase::Setup;
    }
    Require(fake.gdi.Alive().empty(), "no pen, bitmap or device context is left");
    return 0;
}
