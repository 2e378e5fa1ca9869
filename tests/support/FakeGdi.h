// Recording fake of the gdi32 port that also tracks which objects are alive.
#pragma once

#include <map>
#include <set>

#include "CallLog.h"
#include "platform/Gdi.h"

namespace pelluna::testing {

class FakeGdi final : public Gdi {
  public:
    explicit FakeGdi(CallLog& log) : log_(log) {}

    bool failCreateCompatibleDC = false;
    bool failCreateCompatibleBitmap = false;

    // Objects made and not yet deleted (device contexts, bitmaps, pens).
    const std::set<std::uintptr_t>& Alive() const { return alive_; }
    // The object selected of each kind into a device context is not modelled: SelectObject answers
    // with the previously selected object of that DC, or the DC's initial bitmap.
    static constexpr Hgdiobj kInitialBitmap = 0xB000;
    static Hgdiobj StockObject(int index) { return 0x5700 + static_cast<Hgdiobj>(index); }

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

  private:
    CallLog& log_;
    std::uintptr_t next_ = 0x1000;
    std::set<std::uintptr_t> alive_;
    std::map<Hdc, Hgdiobj> lastSelected_;
};

}  // namespace pelluna::testing
