// Owners of the GDI objects that the window layer keeps: a memory DC with its own bitmap, a font.
#include "windows/GdiObjects.h"

namespace pelluna::win32 {

BitmapDC::BitmapDC(HDC reference, HBITMAP bitmap) : bitmap_(bitmap) {
    if (bitmap_ == nullptr) return;
    dc_ = ::CreateCompatibleDC(reference);
    if (dc_ == nullptr) {
        ::DeleteObject(bitmap_);
        bitmap_ = nullptr;
        return;
    }
    previous_ = ::SelectObject(dc_, bitmap_);
}

BitmapDC& BitmapDC::operator=(BitmapDC&& other) noexcept {
    if (this != &other) {
        Reset();
        dc_ = other.dc_;
        bitmap_ = other.bitmap_;
        previous_ = other.previous_;
        other.dc_ = nullptr;
        other.bitmap_ = nullptr;
        other.previous_ = nullptr;
    }
    return *this;
}

void BitmapDC::Reset() {
    if (dc_) {
        ::SelectObject(dc_, previous_);
        ::DeleteDC(dc_);
    }
    if (bitmap_) ::DeleteObject(bitmap_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    previous_ = nullptr;
}

}  // namespace pelluna::win32
