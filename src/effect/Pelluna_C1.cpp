// The drawing surface: an off-screen memory device context with a bitmap of its own.
#include "effect/Pelluna_C1.h"

#include "effect/MemoryDC.h"

namespace pelluna {

bool Pelluna_C1::CreateBlank(std::int32_t nWidth, std::int32_t nHeight, bool Mono) {
    FreeSurface();
    if (!CreateMemoryDC(m_user, m_gdi, Mono, m_hDC, m_hBitmap, m_hOldBitmap, nWidth, nHeight)) return false;
    m_nWidth = nWidth;
    m_nHeight = nHeight;
    return true;
}

bool Pelluna_C1::CreateFromDesktop(std::int32_t nWidth, std::int32_t nHeight) {
    const Hwnd hDesktop = m_user.GetDesktopWindow();
    Rect desktop;
    m_user.GetClientRect(hDesktop, desktop);
    if (nWidth == 0) {
        nWidth = desktop.right;
        nHeight = desktop.bottom;
    }
    if (!CreateBlank(nWidth, nHeight, false)) return false;

    const Hdc hDesktopDC = m_user.GetDC(hDesktop);
    m_gdi.StretchBlt(m_hDC, 0, 0, nWidth, nHeight, hDesktopDC, 0, 0, desktop.right, desktop.bottom,
                     win::SRCCOPY);
    m_user.ReleaseDC(hDesktop, hDesktopDC);
    return true;
}

void Pelluna_C1::QuickBlit(Hdc hDestDC, std::uint32_t RasterOp) {
    QuickBlitAt(hDestDC, 0, 0, RasterOp);
}

void Pelluna_C1::QuickBlitAt(Hdc hDestDC, std::int32_t x, std::int32_t y, std::uint32_t RasterOp) {
    m_gdi.BitBlt(hDestDC, x, y, m_nWidth, m_nHeight, m_hDC, 0, 0, RasterOp);
}

void Pelluna_C1::FreeSurface() {
    DeleteMemoryDC(m_gdi, m_hDC, m_hBitmap, m_hOldBitmap);
}

}  // namespace pelluna
