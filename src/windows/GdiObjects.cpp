// Owners of the GDI objects that the window layer keeps: a memory DC with its own bitmap, a font.
#include "windows/GdiObjects.h"

#include <cmath>
#include <cwchar>

#include "windows/WindowClass.h"

namespace pelluna::win32 {

BitmapDC::BitmapDC(HDC reference, HBITMAP bitmap) : bitmap_(bitmap) {
    if (!bitmap_) return;
    dc_.reset(::CreateCompatibleDC(reference));
    if (!dc_) {
        bitmap_.reset();
        return;
    }
    previous_ = ::SelectObject(dc_.get(), bitmap_.get());
}

BitmapDC BitmapDC::ForScreen(int width, int height) {
    const WindowDC screen(nullptr);
    return BitmapDC(screen.dc(),
                    ::CreateCompatibleBitmap(screen.dc(), width > 0 ? width : 1, height > 0 ? height : 1));
}

BitmapDC& BitmapDC::operator=(BitmapDC&& other) noexcept {
    if (this != &other) {
        Deselect();
        dc_ = std::move(other.dc_);
        bitmap_ = std::move(other.bitmap_);
        previous_ = std::exchange(other.previous_, nullptr);
    }
    return *this;
}

void BitmapDC::Deselect() {
    if (dc_ && previous_) ::SelectObject(dc_.get(), previous_);
    previous_ = nullptr;
}

LOGFONTW LogFontOf(const FontObject& font, double pixelsPerPoint) {
    LOGFONTW logFont{};
    logFont.lfHeight = -Rounded(std::floor(font.Size * pixelsPerPoint + 0.5));
    logFont.lfWeight = font.Weight;
    logFont.lfItalic = font.Italic ? TRUE : FALSE;
    logFont.lfUnderline = font.Underline ? TRUE : FALSE;
    logFont.lfStrikeOut = font.Strikethrough ? TRUE : FALSE;
    logFont.lfCharSet = static_cast<BYTE>(font.Charset & 0xFF);
    std::wcsncpy(logFont.lfFaceName, font.Name.c_str(), LF_FACESIZE - 1);
    return logFont;
}

}  // namespace pelluna::win32
