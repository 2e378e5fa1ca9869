// The drawing surface and the ripple effect against real GDI: handles freed, pixels copied and drawn.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "../../unit/effect/ScriptedRandom.h"
#include "Pelluna_C3Peer.h"
#include "effect/Pelluna_C1.h"
#include "effect/Pelluna_C3.h"
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"
#include "settings/SettingsValues.h"

namespace pelluna {

namespace {

using win32::FromWin;
using win32::ToWin;

// The pixels of a DC's area as 0x00RRGGBB, row by row from the top, read through a 32-bit DIB section.
std::vector<std::uint32_t> ReadPixels(HDC source, int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP dib = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, dib);
    ::BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    ::GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    std::vector<std::uint32_t> pixels(first, first + static_cast<std::size_t>(width) * height);
    for (std::uint32_t& pixel : pixels) pixel &= 0xFFFFFF;
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(dib);
    return pixels;
}

BITMAP BitmapOf(HDC dc) {
    BITMAP bitmap{};
    ::GetObjectW(::GetCurrentObject(dc, OBJ_BITMAP), sizeof bitmap, &bitmap);
    return bitmap;
}

std::uint32_t Rgb32(int r, int g, int b) {
    return static_cast<std::uint32_t>(r << 16 | g << 8 | b);
}

class EffectWin : public ::testing::Test {
  protected:
    win32::Win32User user_;
    win32::Win32Gdi gdi_;
    win32::Win32Kernel kernel_;
    win32::Win32Clock clock_;
};

TEST_F(EffectWin, CreatingTwiceLeavesNoObjectOfTheFirstSurfaceAlive) {
    Pelluna_C1 surface(user_, gdi_);
    ASSERT_TRUE(surface.CreateBlank(200, 100, false));
    HDC firstDC = ToWin<HDC>(surface.hDC());
    HGDIOBJ firstBitmap = ::GetCurrentObject(firstDC, OBJ_BITMAP);
    ASSERT_EQ(::GetObjectType(firstDC), static_cast<DWORD>(OBJ_MEMDC));
    ASSERT_EQ(::GetObjectType(firstBitmap), static_cast<DWORD>(OBJ_BITMAP));
    EXPECT_EQ(BitmapOf(firstDC).bmWidth, 200);

    ASSERT_TRUE(surface.CreateBlank(300, 150, true));
    HDC secondDC = ToWin<HDC>(surface.hDC());
    HGDIOBJ secondBitmap = ::GetCurrentObject(secondDC, OBJ_BITMAP);
    ASSERT_NE(secondDC, firstDC);
    ASSERT_NE(secondBitmap, firstBitmap);
    EXPECT_EQ(::GetObjectType(firstDC), 0u);
    EXPECT_EQ(::GetObjectType(firstBitmap), 0u);
    EXPECT_EQ(BitmapOf(secondDC).bmWidth, 300);
    EXPECT_EQ(BitmapOf(secondDC).bmHeight, 150);
}

TEST_F(EffectWin, DestroyingASurfaceFreesItsObjects) {
    HDC dc = nullptr;
    HGDIOBJ bitmap = nullptr;
    {
        Pelluna_C1 surface(user_, gdi_);
        ASSERT_TRUE(surface.CreateBlank(64, 64, false));
        dc = ToWin<HDC>(surface.hDC());
        bitmap = ::GetCurrentObject(dc, OBJ_BITMAP);
    }
    EXPECT_EQ(::GetObjectType(dc), 0u);
    EXPECT_EQ(::GetObjectType(bitmap), 0u);
}

TEST_F(EffectWin, AMonoSurfaceTurnsEveryColourIntoBlackOrWhite) {
    Pelluna_C1 surface(user_, gdi_);
    ASSERT_TRUE(surface.CreateBlank(80, 10, true));
    HDC dc = ToWin<HDC>(surface.hDC());
    EXPECT_EQ(BitmapOf(dc).bmBitsPixel, 1);
    const COLORREF colours[] = {RGB(255, 0, 0),   RGB(0, 128, 0),  RGB(0, 0, 100),     RGB(200, 200, 200),
                                RGB(255, 255, 0), RGB(30, 30, 30), RGB(255, 255, 255), RGB(0, 0, 0)};
    for (int i = 0; i < 8; ++i) {
        HBRUSH brush = ::CreateSolidBrush(colours[i]);
        const RECT band{i * 10, 0, i * 10 + 10, 10};
        ::FillRect(dc, &band, brush);
        ::DeleteObject(brush);
    }
    const std::vector<std::uint32_t> pixels = ReadPixels(dc, 80, 10);
    for (const std::uint32_t pixel : pixels)
        EXPECT_TRUE(pixel == 0 || pixel == 0xFFFFFF) << std::hex << pixel;
    // Light colours become white, dark ones black.
    EXPECT_EQ(pixels[35], 0xFFFFFFu);
    EXPECT_EQ(pixels[25], 0u);
    EXPECT_EQ(pixels[55], 0u);
}

TEST_F(EffectWin, QuickBlitCopiesEveryPixelExactly) {
    constexpr int kWidth = 97;
    constexpr int kHeight = 61;
    Pelluna_C1 source(user_, gdi_);
    Pelluna_C1 target(user_, gdi_);
    ASSERT_TRUE(source.CreateBlank(kWidth, kHeight, false));
    ASSERT_TRUE(target.CreateBlank(kWidth, kHeight, false));
    HDC sourceDC = ToWin<HDC>(source.hDC());
    std::uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            seed = seed * 1103515245u + 12345u;
            ::SetPixel(sourceDC, x, y, RGB((seed >> 8) & 0xFF, (seed >> 16) & 0xFF, (seed >> 24) & 0xFF));
        }
    }
    ::PatBlt(ToWin<HDC>(target.hDC()), 0, 0, kWidth, kHeight, BLACKNESS);
    source.QuickBlit(target.hDC(), SRCCOPY);
    const std::vector<std::uint32_t> expected = ReadPixels(sourceDC, kWidth, kHeight);
    EXPECT_EQ(ReadPixels(ToWin<HDC>(target.hDC()), kWidth, kHeight), expected);
    EXPECT_NE(expected[0], expected[1]);
}

TEST_F(EffectWin, FromDesktopAtWidthZeroHasTheDesktopsSizeAndCopiesIt) {
    RECT desktop{};
    ::GetClientRect(::GetDesktopWindow(), &desktop);
    ASSERT_GT(desktop.right, 0);

    // Something recognisable on the screen: a green window at a known place.
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = ::DefWindowProcW;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.hbrBackground = ::CreateSolidBrush(RGB(16, 200, 48));
    windowClass.lpszClassName = L"PellunaEffectWinTestPatch";
    ::RegisterClassW(&windowClass);
    HWND patch = ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"patch", WS_POPUP | WS_VISIBLE,
                                   100, 120, 200, 150, nullptr, nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(patch, nullptr);
    ::UpdateWindow(patch);
    for (int i = 0; i < 50; ++i) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
        ::Sleep(10);
    }

    Pelluna_C1 surface(user_, gdi_);
    ASSERT_TRUE(surface.CreateFromDesktop(0, 0));
    HDC dc = ToWin<HDC>(surface.hDC());
    EXPECT_EQ(BitmapOf(dc).bmWidth, desktop.right);
    EXPECT_EQ(BitmapOf(dc).bmHeight, desktop.bottom);

    HDC screen = ::GetDC(nullptr);
    const std::vector<std::uint32_t> direct = ReadPixels(screen, desktop.right, desktop.bottom);
    ::ReleaseDC(nullptr, screen);
    const std::vector<std::uint32_t> copied = ReadPixels(dc, desktop.right, desktop.bottom);
    EXPECT_EQ(copied[static_cast<std::size_t>(190) * desktop.right + 200], Rgb32(16, 200, 48));
    EXPECT_TRUE(copied == direct) << "the copy differs from the screen";

    ::DestroyWindow(patch);
    ::UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
    ::DeleteObject(windowClass.hbrBackground);
}

class RippleWin : public EffectWin {
  protected:
    void SetUp() override {
        gDropsCount = 25;
        gRippleSpeed = 100;
        gRippleSize = 100;
        gFallSpeed = 800;
        gFallAngle = -1.56f;
    }
    void TearDown() override {
        gDropsCount = 0;
        gRippleSpeed = gRippleSize = gFallSpeed = gFallAngle = 0;
    }
};

// Whether a pixel is one of the six families' pen colours: non-zero components equal, a multiple of 16
// up to 240, in one of the families' patterns.
bool IsRingColour(std::uint32_t pixel) {
    const std::uint32_t r = pixel >> 16, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
    const std::uint32_t c = std::max({r, g, b});
    if (c == 0 || c % 16 != 0 || c > 240) return false;
    const bool R = r == c, G = g == c, B = b == c;
    if ((r != 0 && !R) || (g != 0 && !G) || (b != 0 && !B)) return false;
    return (R + G + B == 1) || (R && G && !B) || (G && B && !R) || (R && B && !G);
}

TEST_F(RippleWin, FramesHoldOnlyTheSixFamiliesColours) {
    constexpr int kWidth = 1024;
    constexpr int kHeight = 576;
    Pelluna_C1 frame(user_, gdi_);
    ASSERT_TRUE(frame.CreateBlank(kWidth, kHeight, false));
    Pelluna_C3 effect(gdi_, kernel_, clock_);
    bool useTransition = false;
    ASSERT_TRUE(effect.Construct(kWidth, kHeight, useTransition));
    int ringPixels = 0;
    for (int step = 0; step < 400; ++step) {
        effect.EraseBackground(frame.hDC());
        effect.Tick(10);
        effect.DrawCurrentFrame(frame.hDC());
        if (step % 50 != 49) continue;
        for (const std::uint32_t pixel : ReadPixels(ToWin<HDC>(frame.hDC()), kWidth, kHeight)) {
            if (pixel == 0) continue;
            ++ringPixels;
            ASSERT_TRUE(IsRingColour(pixel)) << std::hex << pixel << " at step " << std::dec << step;
        }
    }
    EXPECT_GT(ringPixels, 1000);
    effect.Destruct();
}

TEST_F(RippleWin, OuterRingsAreTwiceAsWideAsHigh) {
    gDropsCount = 1;
    constexpr int kWidth = 1024;
    constexpr int kHeight = 768;
    Pelluna_C1 frame(user_, gdi_);
    ASSERT_TRUE(frame.CreateBlank(kWidth, kHeight, false));
    const struct {
        float radius;
        RECT outer;  // inclusive pixel bounds of the outer ring
    } cases[] = {{90.0f, {332, 294, 691, 473}}, {40.0f, {432, 344, 591, 423}}, {17.0f, {478, 367, 545, 400}}};
    for (const auto& c : cases) {
        testing::ScriptedRandom random;
        random.whenExhausted = 0.5f;
        Pelluna_C3 effect(gdi_, kernel_, clock_, random);
        bool useTransition = false;
        ASSERT_TRUE(effect.Construct(kWidth, kHeight, useTransition));
        Pelluna_C3Peer::SetDrop(effect, 1, 1, 512.0f, 384.0f, c.radius);
        effect.EraseBackground(frame.hDC());
        effect.DrawCurrentFrame(frame.hDC());
        const std::vector<std::uint32_t> pixels = ReadPixels(ToWin<HDC>(frame.hDC()), kWidth, kHeight);
        // The outer ring is the brightest green on the picture.
        std::uint32_t brightest = 0;
        for (const std::uint32_t pixel : pixels) brightest = std::max(brightest, pixel);
        RECT box{kWidth, kHeight, -1, -1};
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                if (pixels[static_cast<std::size_t>(y) * kWidth + x] != brightest) continue;
                box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x), std::max<LONG>(box.bottom, y)};
            }
        }
        EXPECT_EQ(brightest & 0xFF00FF, 0u) << "drop 1 is green";
        EXPECT_EQ(box.left, c.outer.left) << c.radius;
        EXPECT_EQ(box.top, c.outer.top) << c.radius;
        EXPECT_EQ(box.right, c.outer.right) << c.radius;
        EXPECT_EQ(box.bottom, c.outer.bottom) << c.radius;
        EXPECT_EQ(box.right - box.left + 1, 2 * (box.bottom - box.top + 1)) << c.radius;
        effect.Destruct();
    }
}

}  // namespace
}  // namespace pelluna
