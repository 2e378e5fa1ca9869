// The stored pictures as the system loads them from the module: bitmaps, the umbrella icon, the hand cursor.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include "resources/resource.h"

namespace pelluna::win32 {
namespace {

HINSTANCE Module() {
    return ::GetModuleHandleW(nullptr);
}

// GDI objects of one check, freed in reverse order whatever the check found.
class MemoryDc {
  public:
    explicit MemoryDc(HBITMAP bitmap) : dc_(::CreateCompatibleDC(nullptr)), bitmap_(bitmap) {
        if (dc_ && bitmap_) previous_ = ::SelectObject(dc_, bitmap_);
    }
    ~MemoryDc() {
        if (previous_) ::SelectObject(dc_, previous_);
        if (bitmap_) ::DeleteObject(bitmap_);
        if (dc_) ::DeleteDC(dc_);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC Dc() const { return dc_; }
    bool Ready() const { return previous_ != nullptr; }

  private:
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_ = nullptr;
};

TEST(StoredPicturesWin, EveryBitmapResourceLoadsAtItsSizeWithAKnownPixel) {
    struct Pixel {
        int x, y;
        COLORREF colour;
    };
    // One pixel near the top and one near the bottom, so a picture upside down fails too.
    const struct {
        int id;
        const char* name;
        int width, height;
        Pixel top, bottom;
    } bitmaps[] = {
        {IDB_CMD_NORMAL, "normal", 64, 25, {31, 2, RGB(0xFE, 0xFE, 0xFE)}, {31, 22, RGB(0xD6, 0xD0, 0xC5)}},
        {IDB_CMD_HIGHLIGHT,
         "highlight",
         64,
         25,
         {31, 2, RGB(0xFF, 0xF0, 0xCF)},
         {31, 22, RGB(0xE5, 0x97, 0x00)}},
        {IDB_CMD_PRESSED, "pressed", 64, 25, {31, 3, RGB(0x9D, 0xA8, 0xAC)}, {31, 21, RGB(0xF2, 0xF1, 0xEE)}},
        {IDB_CMD_SELECTED,
         "selected",
         64,
         25,
         {31, 2, RGB(0xCE, 0xE7, 0xFF)},
         {31, 22, RGB(0x69, 0x82, 0xEE)}},
        {IDB_CMD_HIGHLIGHTSELECT,
         "highlightselect",
         64,
         25,
         {31, 2, RGB(0xFF, 0xF0, 0xCF)},
         {31, 22, RGB(0xE5, 0x97, 0x00)}},
        {IDB_CMD_DISABLE, "disable", 64, 25, {31, 1, RGB(0xC9, 0xC7, 0xBA)}, {31, 22, RGB(0xF5, 0xF4, 0xEA)}},
        {IDB_INDICATOR_UNSELECTED,
         "indicator unselected",
         12,
         12,
         {0, 0, RGB(0x8A, 0x8A, 0x8A)},
         {6, 6, RGB(0xFA, 0xFA, 0xF7)}},
        {IDB_INDICATOR_SELECTED,
         "indicator selected",
         12,
         12,
         {0, 0, RGB(0x8A, 0x8A, 0x8A)},
         {6, 6, RGB(0x2A, 0x5B, 0xD7)}},
    };
    for (const auto& b : bitmaps) {
        SCOPED_TRACE(b.name);
        auto* bitmap = static_cast<HBITMAP>(
            ::LoadImageW(Module(), MAKEINTRESOURCEW(b.id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
        ASSERT_NE(bitmap, nullptr);
        BITMAP info{};
        ASSERT_EQ(::GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
        EXPECT_EQ(info.bmWidth, b.width);
        EXPECT_EQ(info.bmHeight, b.height);
        EXPECT_EQ(info.bmBitsPixel, 24);
        MemoryDc memory(bitmap);
        ASSERT_TRUE(memory.Ready());
        for (const Pixel& p : {b.top, b.bottom}) {
            const COLORREF got = ::GetPixel(memory.Dc(), p.x, p.y);
            EXPECT_EQ(got, p.colour) << p.x << ", " << p.y << std::hex << ": 0x" << got;
        }
    }
}

TEST(StoredPicturesWin, TheDeviceDependentLoadGivesTheSamePicture) {
    HBITMAP bitmap = ::LoadBitmapW(Module(), MAKEINTRESOURCEW(IDB_CMD_NORMAL));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_NE(::GetObjectW(bitmap, sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, 64);
    EXPECT_EQ(info.bmHeight, 25);
    MemoryDc memory(bitmap);
    ASSERT_TRUE(memory.Ready());
    EXPECT_EQ(::GetPixel(memory.Dc(), 1, 12), RGB(0x00, 0x3C, 0x74));
}

struct IconInfo {
    ICONINFO info{};
    bool ok = false;
    explicit IconInfo(HICON icon) : ok(::GetIconInfo(icon, &info) != FALSE) {}
    ~IconInfo() {
        if (info.hbmColor) ::DeleteObject(info.hbmColor);
        if (info.hbmMask) ::DeleteObject(info.hbmMask);
    }
    IconInfo(const IconInfo&) = delete;
    IconInfo& operator=(const IconInfo&) = delete;
};

TEST(StoredPicturesWin, IconAndCursorLoadAt32By32AndTheCursorPointsWithItsFingertip) {
    const struct {
        int id;
        UINT type;
        const char* name;
        BOOL isIcon;
        DWORD hotX, hotY;
    } images[] = {
        {IDI_UMBRELLA, IMAGE_ICON, "umbrella", TRUE, 16, 16},  // an icon's hot spot is its middle
        {IDC_POINTING_HAND, IMAGE_CURSOR, "hand", FALSE, 12, 1},
    };
    for (const auto& image : images) {
        SCOPED_TRACE(image.name);
        // Size 0, 0 without LR_DEFAULTSIZE: the resource's own size.
        auto* handle =
            static_cast<HICON>(::LoadImageW(Module(), MAKEINTRESOURCEW(image.id), image.type, 0, 0, 0));
        ASSERT_NE(handle, nullptr);
        {
            IconInfo icon(handle);
            ASSERT_TRUE(icon.ok);
            EXPECT_EQ(icon.info.fIcon, image.isIcon);
            EXPECT_EQ(icon.info.xHotspot, image.hotX);
            EXPECT_EQ(icon.info.yHotspot, image.hotY);
            ASSERT_NE(icon.info.hbmColor, nullptr) << "a colour image";
            BITMAP colour{};
            ASSERT_NE(::GetObjectW(icon.info.hbmColor, sizeof colour, &colour), 0);
            EXPECT_EQ(colour.bmWidth, 32);
            EXPECT_EQ(colour.bmHeight, 32);
        }
        if (image.type == IMAGE_ICON) {
            ::DestroyIcon(handle);
        } else {
            ::DestroyCursor(handle);
        }
    }
}

}  // namespace
}  // namespace pelluna::win32
