// Recording fake of the gdi32 port that also tracks which objects are alive and what each DC has selected.
#include "FakeGdi.h"

#include <cstdio>

namespace pelluna::testing {

Hgdiobj& FakeGdi::Selection::Of(Kind kind) {
    switch (kind) {
        case Kind::Pen:
            return pen;
        case Kind::Brush:
            return brush;
        case Kind::Bitmap:
            return bitmap;
        default:
            return other;
    }
}

FakeGdi::Kind FakeGdi::KindOf(Hgdiobj object) const {
    if (const auto found = kinds_.find(object); found != kinds_.end()) return found->second;
    if (object == kInitialBitmap) return Kind::Bitmap;
    // Stock objects: 0-5 brushes, 6-8 pens.
    if (object >= StockObject(0) && object <= StockObject(5)) return Kind::Brush;
    if (object >= StockObject(6) && object <= StockObject(8)) return Kind::Pen;
    return Kind::Other;
}

Hgdiobj FakeGdi::Selected(Hdc hDC, Kind kind) const {
    const auto found = selections_.find(hDC);
    Selection selection = found != selections_.end() ? found->second : Selection{};
    return selection.Of(kind);
}

std::optional<ColorRef> FakeGdi::PenColor(Hgdiobj pen) const {
    if (const auto found = penColors_.find(pen); found != penColors_.end()) return found->second;
    return std::nullopt;
}

FakeGdi::Shape FakeGdi::ShapeIn(Hdc hDC, int left, int top, int right, int bottom) const {
    return Shape{hDC, Rect{left, top, right, bottom}, SelectedPen(hDC), SelectedBrush(hDC)};
}

Hdc FakeGdi::CreateCompatibleDC(Hdc hDC) {
    if (logCalls) log_.Add(Call("CreateCompatibleDC", hDC));
    if (failCreateCompatibleDC) return 0;
    const Hdc dc = ++next_;
    alive_.insert(dc);
    selections_[dc] = Selection{};
    return dc;
}

Hgdiobj FakeGdi::CreateCompatibleBitmap(Hdc hDC, int cx, int cy) {
    if (logCalls) log_.Add(Call("CreateCompatibleBitmap", hDC, cx, cy));
    if (failCreateCompatibleBitmap) return 0;
    const Hgdiobj bitmap = ++next_;
    alive_.insert(bitmap);
    kinds_[bitmap] = Kind::Bitmap;
    return bitmap;
}

Hgdiobj FakeGdi::SelectObject(Hdc hDC, Hgdiobj object) {
    if (logCalls) log_.Add(Call("SelectObject", hDC, object));
    Hgdiobj& selected = selections_[hDC].Of(KindOf(object));
    const Hgdiobj previous = selected;
    selected = object;
    return previous;
}

bool FakeGdi::DeleteObject(Hgdiobj object) {
    if (logCalls) log_.Add(Call("DeleteObject", object));
    return alive_.erase(object) != 0;
}

bool FakeGdi::DeleteDC(Hdc hDC) {
    if (logCalls) log_.Add(Call("DeleteDC", hDC));
    selections_.erase(hDC);
    return alive_.erase(hDC) != 0;
}

Hgdiobj FakeGdi::GetStockObject(int index) {
    if (logCalls) log_.Add(Call("GetStockObject", index));
    return StockObject(index);
}

Hgdiobj FakeGdi::CreatePen(int style, int width, ColorRef color) {
    if (logCalls) log_.Add(Call("CreatePen", style, width, color));
    const Hgdiobj pen = ++next_;
    alive_.insert(pen);
    kinds_[pen] = Kind::Pen;
    penColors_[pen] = color;
    pensMade_.push_back(pen);
    return pen;
}

bool FakeGdi::Rectangle(Hdc hDC, int left, int top, int right, int bottom) {
    if (logCalls) log_.Add(Call("Rectangle", hDC, left, top, right, bottom));
    rectangles_.push_back(ShapeIn(hDC, left, top, right, bottom));
    return true;
}

bool FakeGdi::Ellipse(Hdc hDC, int left, int top, int right, int bottom) {
    if (logCalls) log_.Add(Call("Ellipse", hDC, left, top, right, bottom));
    ellipses_.push_back(ShapeIn(hDC, left, top, right, bottom));
    return true;
}

bool FakeGdi::BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1, std::uint32_t rop) {
    if (logCalls) log_.Add(Call("BitBlt", hDest, x, y, cx, cy, hSrc, x1, y1, rop));
    return true;
}

bool FakeGdi::StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                         int wSrc, int hSrc_, std::uint32_t rop) {
    if (logCalls)
        log_.Add(Call("StretchBlt", hDest, xDest, yDest, wDest, hDest_, hSrc, xSrc, ySrc, wSrc, hSrc_, rop));
    return true;
}

bool FakeGdi::GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex,
                           const GradientRect* mesh, std::uint32_t nMesh, std::uint32_t mode) {
    std::string vertexText = "{";
    for (std::uint32_t i = 0; i < nVertex; ++i) {
        const TriVertex& v = vertices[i];
        char one[96];
        std::snprintf(one, sizeof one, "%s(%d, %d, %04X, %04X, %04X, %04X)", i ? ", " : "", v.x, v.y,
                      unsigned{v.Red}, unsigned{v.Green}, unsigned{v.Blue}, unsigned{v.Alpha});
        vertexText += one;
    }
    vertexText += "}";
    std::string meshText = "{";
    for (std::uint32_t i = 0; i < nMesh; ++i) {
        meshText += (i ? ", [" : "[") + Arg(mesh[i].UpperLeft) + ", " + Arg(mesh[i].LowerRight) + "]";
    }
    meshText += "}";
    log_.Add(Call("GradientFill", hDC, vertexText, nVertex, meshText, nMesh, mode));
    return true;
}

}  // namespace pelluna::testing
