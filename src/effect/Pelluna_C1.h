// The drawing surface: an off-screen memory device context with a bitmap of its own.
#pragma once

#include <cstdint>

#include "platform/Gdi.h"
#include "platform/User.h"

namespace pelluna {

class Pelluna_C1 {
  public:
    Pelluna_C1(User& user, Gdi& gdi) : m_user(user), m_gdi(gdi) {}
    ~Pelluna_C1() { FreeSurface(); }
    Pelluna_C1(const Pelluna_C1&) = delete;
    Pelluna_C1& operator=(const Pelluna_C1&) = delete;

    // Frees what the surface held, then makes an nWidth x nHeight surface: one bit per pixel when Mono,
    // otherwise in the screen's format. The new pixels are not initialised.
    bool CreateBlank(std::int32_t nWidth, std::int32_t nHeight, bool Mono);
    // A colour surface holding the desktop stretched to nWidth x nHeight; nWidth 0 means the desktop's size.
    bool CreateFromDesktop(std::int32_t nWidth, std::int32_t nHeight);
    // The memory device context to draw into; 0 while the surface holds nothing.
    Hdc hDC() const { return m_hDC; }
    // Copies the whole surface to (0, 0) of hDestDC with the raster operation RasterOp.
    void QuickBlit(Hdc hDestDC, std::uint32_t RasterOp);
    // The same to the point (x, y) of hDestDC: a monitor's share of a window that spans several.
    void QuickBlitAt(Hdc hDestDC, std::int32_t x, std::int32_t y, std::uint32_t RasterOp);

  private:
    void FreeSurface();

    User& m_user;
    Gdi& m_gdi;
    Hdc m_hDC = 0;
    Hgdiobj m_hBitmap = 0;     // selected into m_hDC whenever both are non-zero
    Hgdiobj m_hOldBitmap = 0;  // what m_hDC held before m_hBitmap; the system's, never deleted
    // The size of the last surface made successfully; a release or a failed creation keeps it.
    std::int32_t m_nWidth = 0;
    std::int32_t m_nHeight = 0;
};

}  // namespace pelluna
