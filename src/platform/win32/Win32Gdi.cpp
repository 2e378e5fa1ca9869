// gdi32 and msimg32 forwards.
#include <array>

#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"

namespace pelluna::win32 {

Hdc Win32Gdi::CreateCompatibleDC(Hdc hDC) {
    return FromWin(::CreateCompatibleDC(ToWin<HDC>(hDC)));
}
Hgdiobj Win32Gdi::CreateCompatibleBitmap(Hdc hDC, int cx, int cy) {
    return FromWin(::CreateCompatibleBitmap(ToWin<HDC>(hDC), cx, cy));
}
Hgdiobj Win32Gdi::SelectObject(Hdc hDC, Hgdiobj object) {
    return FromWin(::SelectObject(ToWin<HDC>(hDC), ToWin<HGDIOBJ>(object)));
}
bool Win32Gdi::DeleteObject(Hgdiobj object) {
    return ::DeleteObject(ToWin<HGDIOBJ>(object)) != FALSE;
}
bool Win32Gdi::DeleteDC(Hdc hDC) {
    return ::DeleteDC(ToWin<HDC>(hDC)) != FALSE;
}
Hgdiobj Win32Gdi::GetStockObject(int index) {
    return FromWin(::GetStockObject(index));
}
Hgdiobj Win32Gdi::CreatePen(int style, int width, ColorRef color) {
    return FromWin(::CreatePen(style, width, color));
}
bool Win32Gdi::Rectangle(Hdc hDC, int left, int top, int right, int bottom) {
    return ::Rectangle(ToWin<HDC>(hDC), left, top, right, bottom) != FALSE;
}
bool Win32Gdi::Ellipse(Hdc hDC, int left, int top, int right, int bottom) {
    return ::Ellipse(ToWin<HDC>(hDC), left, top, right, bottom) != FALSE;
}
bool Win32Gdi::BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1, std::uint32_t rop) {
    return ::BitBlt(ToWin<HDC>(hDest), x, y, cx, cy, ToWin<HDC>(hSrc), x1, y1, rop) != FALSE;
}
bool Win32Gdi::StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc,
                          int ySrc, int wSrc, int hSrc_, std::uint32_t rop) {
    return ::StretchBlt(ToWin<HDC>(hDest), xDest, yDest, wDest, hDest_, ToWin<HDC>(hSrc), xSrc, ySrc, wSrc,
                        hSrc_, rop) != FALSE;
}
bool Win32Gdi::GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex,
                            const GradientRect* mesh, std::uint32_t nMesh, std::uint32_t mode) {
    // Copied into the system's structures on the stack; more than the program ever passes is refused.
    std::array<TRIVERTEX, 8> systemVertices{};
    std::array<GRADIENT_RECT, 8> systemMesh{};
    if (nVertex > systemVertices.size() || nMesh > systemMesh.size()) return false;
    for (std::uint32_t i = 0; i < nVertex; ++i) {
        const TriVertex& v = vertices[i];
        systemVertices[i] = TRIVERTEX{v.x, v.y, v.Red, v.Green, v.Blue, v.Alpha};
    }
    for (std::uint32_t i = 0; i < nMesh; ++i)
        systemMesh[i] = GRADIENT_RECT{mesh[i].UpperLeft, mesh[i].LowerRight};
    return ::GradientFill(ToWin<HDC>(hDC), systemVertices.data(), nVertex, systemMesh.data(), nMesh, mode) !=
           FALSE;
}

}  // namespace pelluna::win32
