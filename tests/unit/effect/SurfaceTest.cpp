// The drawing surface and the memory-DC procedures against the recording fakes: calls, handles, sizes.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakePlatform.h"
#include "effect/MemoryDC.h"
#include "effect/Pelluna_C1.h"

namespace pelluna {
namespace {

using testing::Arg;
using testing::FakeGdi;
using testing::FakePlatform;
using Calls = std::vector<std::string>;

class Surface : public ::testing::Test {
  protected:
    FakePlatform fake;
    const std::string desk = Arg(fake.user.desktopWindow);
    const std::string screen = Arg(fake.user.nextDC);
    // The fake hands out object handles counting up from 0x1000.
    static std::string H(std::uintptr_t handle) { return Arg(handle); }
    static constexpr Hdc kWindowDC = 0x7777;
};

TEST_F(Surface, ColourSurfaceIsMadeAgainstTheScreenAndReleasesItsDC) {
    {
        Pelluna_C1 surface(fake.user, fake.gdi);
        ASSERT_TRUE(surface.CreateBlank(640, 480, false));
        EXPECT_EQ(surface.hDC(), 0x1001u);
        EXPECT_EQ(fake.gdi.SelectedBitmap(0x1001), 0x1002u);
        EXPECT_EQ(fake.log.Calls(), (Calls{
                                        "GetDesktopWindow()",
                                        "GetDC(" + desk + ")",
                                        "CreateCompatibleDC(" + screen + ")",
                                        "CreateCompatibleBitmap(" + screen + ", 640, 480)",
                                        "SelectObject(4097, 4098)",
                                        "ReleaseDC(" + desk + ", " + screen + ")",
                                    }));
        fake.log.Clear();
    }
    // Destruction puts the original bitmap back before deleting the surface's own.
    EXPECT_EQ(fake.log.Calls(), (Calls{"SelectObject(4097, " + H(FakeGdi::kInitialBitmap) + ")",
                                       "DeleteObject(4098)", "DeleteDC(4097)"}));
    EXPECT_TRUE(fake.gdi.Alive().empty());
}

TEST_F(Surface, MonoSurfaceUsesNoScreenDCAndABitmapCompatibleWithItsOwnDC) {
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateBlank(32, 16, true));
    EXPECT_EQ(fake.log.Calls(), (Calls{"CreateCompatibleDC(0)", "CreateCompatibleBitmap(4097, 32, 16)",
                                       "SelectObject(4097, 4098)"}));
}

TEST_F(Surface, CreatingAgainFreesTheFirstSurfaceBeforeMakingTheSecond) {
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateBlank(10, 10, true));
    fake.log.Clear();
    ASSERT_TRUE(surface.CreateBlank(20, 30, true));
    EXPECT_EQ(fake.log.Calls(), (Calls{"SelectObject(4097, " + H(FakeGdi::kInitialBitmap) + ")",
                                       "DeleteObject(4098)", "DeleteDC(4097)", "CreateCompatibleDC(0)",
                                       "CreateCompatibleBitmap(4099, 20, 30)", "SelectObject(4099, 4100)"}));
    EXPECT_EQ(fake.gdi.Alive(), (std::set<std::uintptr_t>{0x1003, 0x1004}));
    EXPECT_EQ(surface.hDC(), 0x1003u);
}

TEST_F(Surface, QuickBlitCopiesTheWholeSurfaceToTheOrigin) {
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateBlank(1920, 1080, false));
    fake.log.Clear();
    surface.QuickBlit(kWindowDC, win::SRCCOPY);
    EXPECT_EQ(fake.log.Calls(), (Calls{"BitBlt(30583, 0, 0, 1920, 1080, 4097, 0, 0, 13369376)"}));
}

TEST_F(Surface, AFailedDCLeavesNoHandleButKeepsTheEarlierSize) {
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateBlank(300, 200, false));
    fake.gdi.failCreateCompatibleDC = true;
    fake.log.Clear();
    EXPECT_FALSE(surface.CreateBlank(50, 40, false));
    EXPECT_EQ(surface.hDC(), 0u);
    // The screen DC is given back even though the creation failed.
    EXPECT_EQ(fake.log.CallsTo("ReleaseDC("), (Calls{"ReleaseDC(" + desk + ", " + screen + ")"}));
    EXPECT_TRUE(fake.log.CallsTo("CreateCompatibleBitmap(").empty());
    fake.log.Clear();
    surface.QuickBlit(kWindowDC, win::SRCCOPY);
    EXPECT_EQ(fake.log.Calls(), (Calls{"BitBlt(30583, 0, 0, 300, 200, 0, 0, 0, 13369376)"}));
    EXPECT_TRUE(fake.gdi.Alive().empty());
}

TEST_F(Surface, AFailedBitmapKeepsTheMemoryDCUntilTheNextRelease) {
    fake.gdi.failCreateCompatibleBitmap = true;
    {
        Pelluna_C1 surface(fake.user, fake.gdi);
        EXPECT_FALSE(surface.CreateBlank(64, 64, true));
        EXPECT_EQ(surface.hDC(), 0x1001u);
        EXPECT_TRUE(fake.log.CallsTo("SelectObject(").empty());
        fake.log.Clear();
    }
    // Without a bitmap there is nothing to select back or delete: only the DC goes.
    EXPECT_EQ(fake.log.Calls(), (Calls{"DeleteDC(4097)"}));
    EXPECT_TRUE(fake.gdi.Alive().empty());
}

TEST_F(Surface, DestroyingAnEmptySurfaceDoesNothing) {
    { Pelluna_C1 surface(fake.user, fake.gdi); }
    EXPECT_TRUE(fake.log.Calls().empty());
}

TEST_F(Surface, FromDesktopWithWidthZeroCopiesTheWholeDesktopPixelForPixel) {
    fake.user.clientRects[fake.user.desktopWindow] = Rect{0, 0, 1600, 900};
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateFromDesktop(0, 123));
    EXPECT_EQ(fake.log.Calls(),
              (Calls{
                  "GetDesktopWindow()",
                  "GetClientRect(" + desk + ")",
                  "GetDesktopWindow()",
                  "GetDC(" + desk + ")",
                  "CreateCompatibleDC(" + screen + ")",
                  "CreateCompatibleBitmap(" + screen + ", 1600, 900)",
                  "SelectObject(4097, 4098)",
                  "ReleaseDC(" + desk + ", " + screen + ")",
                  "GetDC(" + desk + ")",
                  "StretchBlt(4097, 0, 0, 1600, 900, " + screen + ", 0, 0, 1600, 900, 13369376)",
                  "ReleaseDC(" + desk + ", " + screen + ")",
              }));
    fake.log.Clear();
    surface.QuickBlit(kWindowDC, win::SRCCOPY);
    EXPECT_EQ(fake.log.Calls(), (Calls{"BitBlt(30583, 0, 0, 1600, 900, 4097, 0, 0, 13369376)"}));
}

TEST_F(Surface, FromDesktopAtAnotherSizeStretchesTheWholeDesktopIntoIt) {
    fake.user.clientRects[fake.user.desktopWindow] = Rect{0, 0, 1920, 1080};
    Pelluna_C1 surface(fake.user, fake.gdi);
    ASSERT_TRUE(surface.CreateFromDesktop(320, 180));
    EXPECT_EQ(fake.log.CallsTo("StretchBlt("),
              (Calls{"StretchBlt(4097, 0, 0, 320, 180, " + screen + ", 0, 0, 1920, 1080, 13369376)"}));
}

TEST_F(Surface, FromDesktopFailsWithoutCopyingWhenNoSurfaceCanBeMade) {
    fake.user.clientRects[fake.user.desktopWindow] = Rect{0, 0, 1920, 1080};
    fake.gdi.failCreateCompatibleDC = true;
    Pelluna_C1 surface(fake.user, fake.gdi);
    EXPECT_FALSE(surface.CreateFromDesktop(0, 0));
    EXPECT_TRUE(fake.log.CallsTo("StretchBlt(").empty());
    EXPECT_EQ(fake.log.CallsTo("GetDC(").size(), fake.log.CallsTo("ReleaseDC(").size());
}

TEST(MemoryDC, DeleteZeroesTheHandlesAndLeavesTheSystemBitmapAlone) {
    FakePlatform fake;
    Hdc dc = 0;
    Hgdiobj bitmap = 0;
    Hgdiobj old = 0;
    ASSERT_TRUE(CreateMemoryDC(fake.user, fake.gdi, true, dc, bitmap, old, 8, 8));
    EXPECT_EQ(old, FakeGdi::kInitialBitmap);
    DeleteMemoryDC(fake.gdi, dc, bitmap, old);
    EXPECT_EQ(dc, 0u);
    EXPECT_EQ(bitmap, 0u);
    EXPECT_EQ(old, FakeGdi::kInitialBitmap);
    EXPECT_TRUE(fake.log.CallsTo("DeleteObject(" + Arg(FakeGdi::kInitialBitmap)).empty());
    // A second delete finds nothing to free.
    fake.log.Clear();
    DeleteMemoryDC(fake.gdi, dc, bitmap, old);
    EXPECT_TRUE(fake.log.Calls().empty());
}

TEST(MemoryDC, CreateClearsStaleOutHandlesWhenItFails) {
    FakePlatform fake;
    fake.gdi.failCreateCompatibleDC = true;
    Hdc dc = 0x99;
    Hgdiobj bitmap = 0x98;
    Hgdiobj old = 0x97;
    EXPECT_FALSE(CreateMemoryDC(fake.user, fake.gdi, false, dc, bitmap, old, 8, 8));
    EXPECT_EQ(dc, 0u);
    EXPECT_EQ(bitmap, 0u);
    EXPECT_EQ(old, 0u);
}

}  // namespace
}  // namespace pelluna
