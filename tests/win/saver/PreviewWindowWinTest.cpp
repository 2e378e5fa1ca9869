// The real preview window inside a real host box, in one process, and the stored picture it shows.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include "platform/win32/Win32Ports.h"
#include "resources/resource.h"
#include "saver/Pelluna_R.h"
#include "windows/PreviewWindow.h"
#include "windows/StoredPicture.h"

namespace pelluna::win32 {
namespace {

// Light blue: bright, with blue the strongest component.
bool IsLightBlue(COLORREF color) {
    const int red = GetRValue(color), green = GetGValue(color), blue = GetBValue(color);
    return blue >= 170 && blue > red && blue + 10 >= green && (red + green + blue) / 3 >= 140;
}

void PumpMessages(DWORD milliseconds) {
    const DWORD start = ::GetTickCount();
    do {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(5);
    } while (::GetTickCount() - start < milliseconds);
}

// Share of light-blue pixels on a grid over width x height of dc.
double LightBlueShare(HDC dc, int width, int height) {
    int light = 0, total = 0;
    for (int y = 2; y < height; y += 5) {
        for (int x = 2; x < width; x += 5) {
            ++total;
            if (IsLightBlue(::GetPixel(dc, x, y))) ++light;
        }
    }
    return total ? static_cast<double>(light) / total : 0.0;
}

TEST(PreviewPictureWin, TheStoredPictureDecodesToLightBlue152By112) {
    StoredPicture picture(::GetModuleHandleW(nullptr), IDR_PREVIEW_PICTURE);
    ASSERT_EQ(picture.Size().cx, 152);
    ASSERT_EQ(picture.Size().cy, 112);
    HDC screen = ::GetDC(nullptr);
    HDC memory = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateCompatibleBitmap(screen, 200, 150);
    HGDIOBJ previous = ::SelectObject(memory, bitmap);
    RECT all{0, 0, 200, 150};
    ::FillRect(memory, &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    picture.Draw(memory);
    EXPECT_GE(LightBlueShare(memory, 152, 112), 0.95);
    // Drawn at its own size from the top-left corner: the rest stays as it was.
    EXPECT_EQ(::GetPixel(memory, 160, 20), RGB(0, 0, 0));
    EXPECT_EQ(::GetPixel(memory, 20, 120), RGB(0, 0, 0));
    ::SelectObject(memory, previous);
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

// A box of 100 % and one of 150 %: the picture fills either.
class PreviewWindowWin : public ::testing::TestWithParam<SIZE> {};
INSTANTIATE_TEST_SUITE_P(Boxes, PreviewWindowWin, ::testing::Values(SIZE{152, 112}, SIZE{228, 168}),
                         [](const auto& info) {
                             return std::to_string(info.param.cx) + "x" + std::to_string(info.param.cy);
                         });

TEST_P(PreviewWindowWin, TheWindowBecomesAChildThatCoversTheBoxAndShowsThePicture) {
    const SIZE size = GetParam();
    HWND box = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 300, 200,
                                 size.cx, size.cy, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(box, nullptr);
    Win32Platform platform;
    PreviewWindow window(::GetModuleHandleW(nullptr));
    Pelluna_R(platform.Ports(), window).SetUp(static_cast<std::int32_t>(reinterpret_cast<INT_PTR>(box)));
    PumpMessages(300);

    HWND child = ::GetWindow(box, GW_CHILD);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(::GetParent(child), box) << std::hex << ::GetWindowLongW(child, GWL_STYLE);
    EXPECT_TRUE(::IsWindowVisible(child));
    EXPECT_NE(::GetWindowLongW(child, GWL_STYLE) & WS_CHILD, 0);
    RECT boxRect{}, childRect{};
    ::GetWindowRect(box, &boxRect);
    ::GetWindowRect(child, &childRect);
    EXPECT_EQ(childRect.left, boxRect.left);
    EXPECT_EQ(childRect.top, boxRect.top);
    EXPECT_EQ(childRect.right, boxRect.right);
    EXPECT_EQ(childRect.bottom, boxRect.bottom);

    HDC dc = ::GetDC(box);
    EXPECT_GE(LightBlueShare(dc, size.cx, size.cy), 0.95);
    ::ReleaseDC(box, dc);

    ::DestroyWindow(box);
    EXPECT_FALSE(::IsWindow(child));
    // The preview's message loop ends when its window goes with the box.
    MSG quit{};
    EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

}  // namespace
}  // namespace pelluna::win32
