// Port over the gdi32 calls the program makes: memory device contexts, bitmaps, pens and drawing.
#pragma once

#include <cstdint>

#include "platform/types.h"

namespace pelluna {

class Gdi {
  public:
    virtual ~Gdi() = default;

    virtual Hdc CreateCompatibleDC(Hdc hDC) = 0;
    virtual Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) = 0;
    virtual Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) = 0;
    virtual bool DeleteObject(Hgdiobj object) = 0;
    virtual bool DeleteDC(Hdc hDC) = 0;
    virtual Hgdiobj GetStockObject(int index) = 0;
    virtual Hgdiobj CreatePen(int style, int width, ColorRef color) = 0;
    virtual bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) = 0;
    virtual bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) = 0;
    virtual bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                        std::uint32_t rop) = 0;
    virtual bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc,
                            int ySrc, int wSrc, int hSrc_, std::uint32_t rop) = 0;
    // msimg32's GradientFill over nMesh gradient rectangles.
    virtual bool GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex,
                              const GradientRect* mesh, std::uint32_t nMesh, std::uint32_t mode) = 0;
};

}  // namespace pelluna
