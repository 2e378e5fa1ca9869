// Base-module procedures that make and free a memory device context with a bitmap of its own.
#include "effect/MemoryDC.h"

namespace pelluna {

bool CreateMemoryDC(User& user, Gdi& gdi, bool Mono, Hdc& hDC, Hgdiobj& hBitmap, Hgdiobj& hOldBitmap,
                    std::int32_t nWidth, std::int32_t nHeight) {
    hDC = 0;
    hBitmap = 0;
    hOldBitmap = 0;

    // A colour surface copies the screen's format; a new memory DC holds a 1x1 monochrome bitmap, so a
    // bitmap made compatible with it is monochrome too.
    Hwnd hDesktop = 0;
    Hdc hScreenDC = 0;
    if (!Mono) {
        hDesktop = user.GetDesktopWindow();
        hScreenDC = user.GetDC(hDesktop);
    }

    bool result = false;
    hDC = gdi.CreateCompatibleDC(hScreenDC);
    if (hDC != 0) {
        hBitmap = gdi.CreateCompatibleBitmap(Mono ? hDC : hScreenDC, nWidth, nHeight);
        if (hBitmap != 0) {
            hOldBitmap = gdi.SelectObject(hDC, hBitmap);
            result = true;
        }
    }

    if (!Mono) user.ReleaseDC(hDesktop, hScreenDC);
    return result;
}

void DeleteMemoryDC(Gdi& gdi, Hdc& hDC, Hgdiobj& hBitmap, Hgdiobj hOldBitmap) {
    if (hDC == 0) return;
    if (hBitmap != 0) {
        gdi.SelectObject(hDC, hOldBitmap);
        gdi.DeleteObject(hBitmap);
        hBitmap = 0;
    }
    gdi.DeleteDC(hDC);
    hDC = 0;
}

}  // namespace pelluna
