// Recording fake of the gdi32 port that also tracks which objects are alive.
#include "FakeGdi.h"

namespace pelluna::testing {

Hdc FakeGdi::CreateCompatibleDC(Hdc hDC) {
    log_.Add(Call("CreateCompatibleDC", hDC));
    if (failCreateCompatibleDC) return 0;
    const Hdc dc = ++next_;
    alive_.insert(dc);
    lastSelected_[dc] = kInitialBitmap;
    return dc;
}

Hgdiobj FakeGdi::CreateCompatibleBitmap(Hdc hDC, int cx, int cy) {
    log_.Add(Call("CreateCompatibleBitmap", hDC, cx, cy));
    if (failCreateCompatibleBitmap) return 0;
    const Hgdiobj bitmap = ++next_;
    alive_.insert(bitmap);
    return bitmap;
}

Hgdiobj FakeGdi::SelectObject(Hdc hDC, Hgdiobj object) {
    log_.Add(Call("SelectObject", hDC, object));
    Hgdiobj& selected = lastSelected_[hDC];
    const Hgdiobj previous = selected;
    selected = object;
    return previous;
}

bool FakeGdi::DeleteObject(Hgdiobj object) {
    log_.Add(Call("DeleteObject", object));
    return alive_.erase(object) != 0;
}

bool FakeGdi::DeleteDC(Hdc hDC) {
    log_.Add(Call("DeleteDC", hDC));
    lastSelected_.erase(hDC);
    return alive_.erase(hDC) != 0;
}

Hgdiobj FakeGdi::GetStockObject(int index) {
    log_.Add(Call("GetStockObject", index));
    return StockObject(index);
}

Hgdiobj FakeGdi::CreatePen(int style, int width, ColorRef color) {
    log_.Add(Call("CreatePen", style, width, color));
    const Hgdiobj pen = ++next_;
    alive_.insert(pen);
    return pen;
}

bool FakeGdi::Rectangle(Hdc hDC, int left, int top, int right, int bottom) {
    log_.Add(Call("Rectangle", hDC, left, top, right, bottom));
    return true;
}

bool FakeGdi::Ellipse(Hdc hDC, int left, int top, int right, int bottom) {
    log_.Add(Call("Ellipse", hDC, left, top, right, bottom));
    return true;
}

bool FakeGdi::BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1, std::uint32_t rop) {
    log_.Add(Call("BitBlt", hDest, x, y, cx, cy, hSrc, x1, y1, rop));
    return true;
}

bool FakeGdi::StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                         int wSrc, int hSrc_, std::uint32_t rop) {
    log_.Add(Call("StretchBlt", hDest, xDest, yDest, wDest, hDest_, hSrc, xSrc, ySrc, wSrc, hSrc_, rop));
    return true;
}

}  // namespace pelluna::testing
