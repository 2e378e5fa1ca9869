// Recording fake of the gdi32 port that also tracks which objects are alive and what each DC has selected.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <vector>

#include "CallLog.h"
#include "platform/Gdi.h"

namespace pelluna::testing {

class FakeGdi final : public Gdi {
  public:
    explicit FakeGdi(CallLog& log) : log_(log) {}

    bool failCreateCompatibleDC = false;
    bool failCreateCompatibleBitmap = false;
    // Off where a long run would fill the log (a fuzz target's thousands of frames); shapes are still kept.
    bool logCalls = true;

    enum class Kind { Pen, Brush, Bitmap, Other };

    // A shape drawn, with the pen and brush selected into its DC at that moment.
    struct Shape {
        Hdc dc = 0;
        Rect rect;
        Hgdiobj pen = 0;
        Hgdiobj brush = 0;
        friend bool operator==(const Shape&, const Shape&) = default;
    };

    // Objects made and not yet deleted (device contexts, bitmaps, pens).
    const std::set<std::uintptr_t>& Alive() const { return alive_; }

    // Every DC starts, like a real one, with the black pen, the white brush and a 1x1 bitmap selected.
    // SelectObject answers with the object of the same kind that was selected before, as the system does.
    static constexpr Hgdiobj kInitialBitmap = 0xB000;
    static Hgdiobj StockObject(int index) { return 0x5700 + static_cast<Hgdiobj>(index); }
    Hgdiobj Selected(Hdc hDC, Kind kind) const;
    Hgdiobj SelectedPen(Hdc hDC) const { return Selected(hDC, Kind::Pen); }
    Hgdiobj SelectedBrush(Hdc hDC) const { return Selected(hDC, Kind::Brush); }
    Hgdiobj SelectedBitmap(Hdc hDC) const { return Selected(hDC, Kind::Bitmap); }

    // The colour a pen was made with; nothing for objects that are no pen of this fake.
    std::optional<ColorRef> PenColor(Hgdiobj pen) const;
    // The pens in the order they were made.
    const std::vector<Hgdiobj>& PensMade() const { return pensMade_; }
    const std::vector<Shape>& Ellipses() const { return ellipses_; }
    const std::vector<Shape>& Rectangles() const { return rectangles_; }
    void ClearShapes() {
        ellipses_.clear();
        rectangles_.clear();
    }

    Hdc CreateCompatibleDC(Hdc hDC) override;
    Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) override;
    Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) override;
    bool DeleteObject(Hgdiobj object) override;
    bool DeleteDC(Hdc hDC) override;
    Hgdiobj GetStockObject(int index) override;
    Hgdiobj CreatePen(int style, int width, ColorRef color) override;
    bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) override;
    bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) override;
    bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                std::uint32_t rop) override;
    bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc_, std::uint32_t rop) override;
    // Logged as GradientFill(dc, mode) with every vertex "(x, y, red, green, blue, alpha)" and every
    // rectangle "[upper-left, lower-right]", all in hexadecimal for the channels.
    bool GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex, const GradientRect* mesh,
                      std::uint32_t nMesh, std::uint32_t mode) override;

  private:
    struct Selection {
        Hgdiobj pen = StockObject(7);    // BLACK_PEN
        Hgdiobj brush = StockObject(0);  // WHITE_BRUSH
        Hgdiobj bitmap = kInitialBitmap;
        Hgdiobj other = 0;
        Hgdiobj& Of(Kind kind);
    };
    Kind KindOf(Hgdiobj object) const;
    Shape ShapeIn(Hdc hDC, int left, int top, int right, int bottom) const;

    CallLog& log_;
    std::uintptr_t next_ = 0x1000;
    std::set<std::uintptr_t> alive_;
    std::map<Hgdiobj, Kind> kinds_;
    std::map<Hgdiobj, ColorRef> penColors_;
    std::vector<Hgdiobj> pensMade_;
    std::map<Hdc, Selection> selections_;
    std::vector<Shape> ellipses_;
    std::vector<Shape> rectangles_;
};

}  // namespace pelluna::testing
