// Owners of the GDI objects that the window layer keeps: a memory DC with its own bitmap, a font.
#pragma once

#include "platform/win32/WindowsApi.h"

namespace pelluna::win32 {

// A memory device context with a bitmap of its own selected into it; both go together.
class BitmapDC {
  public:
    BitmapDC() = default;
    // Takes the bitmap; makes a DC compatible with reference (the screen when null) and selects it.
    BitmapDC(HDC reference, HBITMAP bitmap);
    ~BitmapDC() { Reset(); }
    BitmapDC(BitmapDC&& other) noexcept { *this = static_cast<BitmapDC&&>(other); }
    BitmapDC& operator=(BitmapDC&& other) noexcept;
    BitmapDC(const BitmapDC&) = delete;
    BitmapDC& operator=(const BitmapDC&) = delete;

    HDC dc() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

  private:
    void Reset();

    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
};

// A font made by the program, deleted with its owner.
class UniqueFont {
  public:
    UniqueFont() = default;
    explicit UniqueFont(HFONT font) : font_(font) {}
    ~UniqueFont() {
        if (font_) ::DeleteObject(font_);
    }
    UniqueFont(UniqueFont&& other) noexcept : font_(other.font_) { other.font_ = nullptr; }
    UniqueFont& operator=(UniqueFont&& other) noexcept {
        if (this != &other) {
            if (font_) ::DeleteObject(font_);
            font_ = other.font_;
            other.font_ = nullptr;
        }
        return *this;
    }
    UniqueFont(const UniqueFont&) = delete;
    UniqueFont& operator=(const UniqueFont&) = delete;

    HFONT get() const { return font_; }

  private:
    HFONT font_ = nullptr;
};

// A window's device context, released when it goes out of scope.
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

}  // namespace pelluna::win32
