// Owners of the GDI objects that the window layer keeps: one move-only owner per kind, a window's DC, a
// selection for one scope, a memory DC with its own bitmap, and the font a FontObject describes.
#pragma once

#include <memory>
#include <type_traits>
#include <utility>

#include "controls/FontObject.h"
#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

struct DeleteGdiObject {
    void operator()(HGDIOBJ object) const { ::DeleteObject(object); }
};
struct DeleteMemoryDc {
    void operator()(HDC dc) const { ::DeleteDC(dc); }
};

// A handle freed with its owner by Free.
template <class Handle, class Free>
using Owned = std::unique_ptr<std::remove_pointer_t<Handle>, Free>;
using OwnedFont = Owned<HFONT, DeleteGdiObject>;
using OwnedBitmap = Owned<HBITMAP, DeleteGdiObject>;
using OwnedDc = Owned<HDC, DeleteMemoryDc>;  // a memory DC

// A window's device context (the screen's for no window), released when it goes out of scope.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : window_(window), dc_(::GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ::ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;

    HDC dc() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC for one scope.
class ScopedSelect {
  public:
    ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
    ~ScopedSelect() { ::SelectObject(dc_, previous_); }
    ScopedSelect(const ScopedSelect&) = delete;
    ScopedSelect& operator=(const ScopedSelect&) = delete;

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A memory device context with a bitmap of its own selected into it; both go together.
class BitmapDC {
  public:
    BitmapDC() = default;
    // Takes the bitmap; makes a DC compatible with reference (the screen when null) and selects it.
    BitmapDC(HDC reference, HBITMAP bitmap);
    // A new image compatible with the screen, at least one pixel each way so that an empty control still
    // has one to draw into.
    static BitmapDC ForScreen(int width, int height);
    ~BitmapDC() { Deselect(); }
    BitmapDC(BitmapDC&& other) noexcept
        : bitmap_(std::move(other.bitmap_)),
          dc_(std::move(other.dc_)),
          previous_(std::exchange(other.previous_, nullptr)) {}
    BitmapDC& operator=(BitmapDC&& other) noexcept;

    HDC dc() const { return dc_.get(); }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    // The bitmap leaves the DC before either is deleted.
    void Deselect();

    OwnedBitmap bitmap_;  // declared first: the DC goes before it
    OwnedDc dc_;
    HGDIOBJ previous_ = nullptr;
};

// The font described, its height in pixels at pixelsPerPoint (a half rounds up, as the system's MulDiv
// rounds its own scaling).
LOGFONTW LogFontOf(const FontObject& font, double pixelsPerPoint);

}  // namespace pelluna::win32
