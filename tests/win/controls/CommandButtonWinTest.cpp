// The real Command button under Wine: each look's pixels on 64 x 25 and 85 x 25 faces against the state
// pictures and the gradient, the caption's looks, a repaint that copies the kept image, and which presses
// take the capture and the focus and which releases are a Click.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "platform/win32/Win32Ports.h"
#include "resources/resource.h"
#include "windows/CommandButton.h"
#include "windows/GdiObjects.h"

namespace pelluna::win32 {
namespace {

// The real gdi32 with a count of the painting calls, to tell a repaint from a new paint.
class CountingGdi final : public Gdi {
  public:
    int paintingCalls = 0;

    Hdc CreateCompatibleDC(Hdc hDC) override { return real_.CreateCompatibleDC(hDC); }
    Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) override {
        return real_.CreateCompatibleBitmap(hDC, cx, cy);
    }
    Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) override { return real_.SelectObject(hDC, object); }
    bool DeleteObject(Hgdiobj object) override { return real_.DeleteObject(object); }
    bool DeleteDC(Hdc hDC) override { return real_.DeleteDC(hDC); }
    Hgdiobj GetStockObject(int index) override { return real_.GetStockObject(index); }
    Hgdiobj CreatePen(int style, int width, ColorRef color) override {
        return real_.CreatePen(style, width, color);
    }
    bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) override {
        return real_.Rectangle(hDC, left, top, right, bottom);
    }
    bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) override {
        return real_.Ellipse(hDC, left, top, right, bottom);
    }
    bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                std::uint32_t rop) override {
        return real_.BitBlt(hDest, x, y, cx, cy, hSrc, x1, y1, rop);
    }
    bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc_, std::uint32_t rop) override {
        ++paintingCalls;
        return real_.StretchBlt(hDest, xDest, yDest, wDest, hDest_, hSrc, xSrc, ySrc, wSrc, hSrc_, rop);
    }
    bool GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex, const GradientRect* mesh,
                      std::uint32_t nMesh, std::uint32_t mode) override {
        ++paintingCalls;
        return real_.GradientFill(hDC, vertices, nVertex, mesh, nMesh, mode);
    }

  private:
    Win32Gdi real_;
};

void Pump() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

// Handles messages until the condition holds or the time is up; returns the condition's last value.
bool PumpUntil(const std::function<bool()>& condition, DWORD timeoutMs = 3000) {
    const DWORD start = ::GetTickCount();
    for (;;) {
        Pump();
        if (condition()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// A state picture as the program stores it, readable pixel by pixel.
class Picture {
  public:
    explicit Picture(int id)
        : image_(nullptr, static_cast<HBITMAP>(::LoadImageW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id),
                                                            IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION))) {}
    COLORREF At(int x, int y) const { return ::GetPixel(image_.dc(), x, y); }

  private:
    BitmapDC image_;
};

// The pixels a window shows.
std::vector<COLORREF> WindowPixels(HWND window, int width, int height) {
    WindowDC dc(window);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) pixels.push_back(::GetPixel(dc.dc(), x, y));
    }
    return pixels;
}

int Channel(COLORREF colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF);
}

constexpr COLORREF kLight = RGB(0xFF, 0xFF, 0xFF);
constexpr COLORREF kShade = RGB(0xC6, 0xC5, 0xD7);

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(window, message, wParam, lParam);
}

class CommandButtonWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = ParentProc;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        windowClass.lpszClassName = L"PellunaCommandTestParent";
        ::RegisterClassExW(&windowClass);
        // Shown without taking the activation: other programs on this display keep their keyboard focus.
        parent_ = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"PellunaCommandTestParent", L"",
                                    WS_POPUP | WS_CLIPCHILDREN, 300, 200, 200, 80, nullptr, nullptr,
                                    windowClass.hInstance, nullptr);
        ASSERT_NE(parent_, nullptr);
        ::ShowWindow(parent_, SW_SHOWNOACTIVATE);
        Pump();
    }
    void TearDown() override {
        button_.reset();
        if (parent_) ::DestroyWindow(parent_);
        Pump();
    }

    // A button widthPixels x 25 at (10, 10) of the parent with the given stored caption.
    CommandButton& MakeButton(int widthPixels, const std::wstring& caption = L"") {
        PropertyBag stored;
        stored.WriteProperty(L"Caption", caption, L"Command");
        button_ =
            std::make_unique<CommandButton>(ports_, ::GetModuleHandleW(nullptr), parent_, 1, 150, 150,
                                            widthPixels * 15, 375, FontObject{L"Tahoma", 8.25, 400}, &stored);
        width_ = widthPixels;
        Pump();
        return *button_;
    }

    COLORREF Face(int x, int y) const {
        WindowDC dc(button_->Window());
        return ::GetPixel(dc.dc(), x, y);
    }

    // Checks the face against the picture's border band and the gradient's direction.
    void ExpectLook(int pictureId, bool shadeOnTop) {
        const Picture picture(pictureId);
        const int w = width_, h = 25;
        const std::vector<COLORREF> face = WindowPixels(button_->Window(), w, h);
        auto at = [&](int x, int y) { return face[static_cast<std::size_t>(y * w + x)]; };
        int wrong = 0;
        auto expect = [&](int x, int y, COLORREF expected, const char* where) {
            if (at(x, y) != expected && ++wrong <= 5) {
                ADD_FAILURE() << where << " pixel (" << x << ", " << y << ") is " << std::hex << at(x, y)
                              << ", picture has " << expected;
            }
        };
        // Corners and the side strips: pixel for pixel (the face is as high as the picture).
        for (int j = 0; j < h; ++j) {
            for (int i = 0; i < 4; ++i) {
                if (j < 4 || j > 20) {
                    expect(i, j, picture.At(i, j), "left corner");
                    expect(w - 4 + i, j, picture.At(60 + i, j), "right corner");
                } else {
                    expect(i, j, picture.At(i, j), "left strip");
                    expect(w - 4 + i, j, picture.At(60 + i, j), "right strip");
                }
            }
        }
        // The top and bottom strips are stretched along their length: each pixel comes from about the
        // same place along the picture's strip, in the same row.
        for (int x = 4; x < w - 4; ++x) {
            const int source = 4 + (x - 4) * 56 / (w - 8);
            for (int j : {0, 1, 2, 3, 21, 22, 23, 24}) {
                bool found = false;
                for (int s = source - 1; s <= source + 1; ++s) {
                    if (s >= 4 && s < 60 && at(x, j) == picture.At(s, j)) found = true;
                }
                if (!found && ++wrong <= 5) {
                    ADD_FAILURE() << "strip pixel (" << x << ", " << j << ") is " << std::hex << at(x, j)
                                  << ", picture near it has " << picture.At(source, j);
                }
            }
        }
        // The gradient: the inside's first and last rows, one colour along each row.
        const COLORREF top = shadeOnTop ? kShade : kLight;
        const COLORREF bottom = shadeOnTop ? kLight : kShade;
        for (int y : {4, h - 5}) {
            for (int shift : {0, 8, 16}) {
                const int expected =
                    Channel(top, shift) + (Channel(bottom, shift) - Channel(top, shift)) * y / (h - 1);
                const int seen = Channel(at(w / 2, y), shift);
                EXPECT_LE(std::abs(seen - expected), 2) << "gradient row " << y << " channel " << shift;
            }
            for (int x = 4; x < w - 4; ++x) {
                if (at(x, y) != at(4, y) && ++wrong <= 5)
                    ADD_FAILURE() << "gradient row " << y << " varies at " << x;
            }
        }
        EXPECT_EQ(wrong, 0);
    }

    Win32Platform platform_;
    CountingGdi gdi_;
    Platform ports_{platform_.user, gdi_, platform_.kernel, platform_.text, platform_.clock, platform_.mci};
    HWND parent_ = nullptr;
    std::unique_ptr<CommandButton> button_;
    int width_ = 0;
};

TEST_F(CommandButtonWinTest, EachLookShowsItsPicturesBorderAndTheGradientOnFacesOf64And85Pixels) {
    const struct {
        const char* look;
        int pictureId;
        std::function<void(Command&)> reach;
        bool shadeOnTop;
    } looks[] = {
        {"Normal", IDB_CMD_NORMAL, [](Command&) {}, false},
        {"HighLight", IDB_CMD_HIGHLIGHT, [](Command& c) { c.Initialize(), c.MouseMove(); }, true},
        {"Pressed", IDB_CMD_PRESSED, [](Command& c) { c.MouseDown(1); }, false},
        {"Pressed while hovered", IDB_CMD_PRESSED,
         [](Command& c) { c.Initialize(), c.MouseMove(), c.MouseDown(1); }, true},
        {"Selected", IDB_CMD_SELECTED, [](Command& c) { c.GotFocus(); }, false},
        {"HighLightSelect", IDB_CMD_HIGHLIGHTSELECT, [](Command& c) { c.GotFocus(), c.MouseMove(); }, false},
        {"Disable", IDB_CMD_DISABLE, [](Command& c) { c.Enabled(false); }, false},
    };
    for (int width : {64, 85}) {
        for (const auto& look : looks) {
            SCOPED_TRACE(::testing::Message() << look.look << " at " << width << " x 25");
            Command& command = MakeButton(width).Logic();
            // No message is handled from here on: the hover poll cannot change the state under the check.
            look.reach(command);
            ExpectLook(look.pictureId, look.shadeOnTop);
            button_.reset();
        }
    }
}

TEST_F(CommandButtonWinTest, ARepaintAfterTheWindowWasCoveredShowsTheSameImageWithoutANewPaint) {
    CommandButton& button = MakeButton(85, L"OK");
    const std::vector<COLORREF> before = WindowPixels(button.Window(), 85, 25);
    const int paintsBefore = gdi_.paintingCalls;
    ASSERT_GT(paintsBefore, 0);

    // Another window over the button, then gone; and the window's pixels spoilt for good measure.
    HWND cover = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_NOACTIVATE, L"STATIC", L"", WS_POPUP, 300, 200, 200,
                                   80, nullptr, nullptr, nullptr, nullptr);
    ::ShowWindow(cover, SW_SHOWNOACTIVATE);
    Pump();
    ::DestroyWindow(cover);
    {
        WindowDC dc(button.Window());
        const RECT all{0, 0, 85, 25};
        ::FillRect(dc.dc(), &all, static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    }
    ASSERT_EQ(Face(40, 12), RGB(0, 0, 0));
    ::InvalidateRect(button.Window(), nullptr, TRUE);
    EXPECT_TRUE(PumpUntil([&] { return WindowPixels(button.Window(), 85, 25) == before; }));
    EXPECT_EQ(gdi_.paintingCalls, paintsBefore);
}

TEST_F(CommandButtonWinTest, TheCaptionIsDrawnOnTheFaceEnabledDisabledAndWithoutTheFace) {
    // Dark pixels of the enabled black caption, grey ones of the disabled look, and what lies at the corner.
    auto darkCount = [&](COLORREF target, int tolerance) {
        int count = 0;
        for (COLORREF c : WindowPixels(button_->Window(), width_, 25)) {
            if (std::abs(Channel(c, 0) - Channel(target, 0)) <= tolerance &&
                std::abs(Channel(c, 8) - Channel(target, 8)) <= tolerance &&
                std::abs(Channel(c, 16) - Channel(target, 16)) <= tolerance) {
                ++count;
            }
        }
        return count;
    };
    const COLORREF grey = ::GetSysColor(COLOR_GRAYTEXT);

    MakeButton(85, L"OK");
    EXPECT_GT(darkCount(RGB(0, 0, 0), 40), 5);
    EXPECT_EQ(darkCount(grey, 0), 0);

    button_->Logic().Enabled(false);
    EXPECT_EQ(darkCount(RGB(0, 0, 0), 40), 0);
    EXPECT_GT(darkCount(grey, 0), 5);

    // Without the face only the caption remains, on the parent's own background.
    button_->Logic().Enabled(true);
    button_->Logic().Visible(0);
    const COLORREF background = ::GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(Face(0, 0), background);
    EXPECT_EQ(Face(40, 2), background);
    EXPECT_GT(darkCount(RGB(0, 0, 0), 40), 5);
    // And back: the face again.
    button_->Logic().Visible(1);
    EXPECT_EQ(Face(0, 0), Picture(IDB_CMD_NORMAL).At(0, 0));
}

TEST_F(CommandButtonWinTest, OnlyAPressOnTheEnabledButtonTakesCaptureAndFocusAndOnlyItsReleaseClicks) {
    const struct {
        const char* name;
        bool enabled;
        bool pressHere;
        bool captureTaken;  // by another window between the press and the release
        bool takes;         // the button holds the capture and the focus after the press
        int clicks;
    } rows[] = {
        {"press and release on the button", true, true, false, true, 1},
        {"release of a press that went down elsewhere", true, false, false, false, 0},
        {"capture taken between press and release", true, true, true, true, 0},
        {"disabled", false, true, false, false, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        CommandButton& button = MakeButton(85);
        int clicks = 0;
        button.OnClick = [&clicks] { ++clicks; };
        const HWND window = button.Window();
        // Hovered (no message is handled from here on, so no tick ends the hover): the press's focus
        // makes it 4, whose release is a Click.
        button.Logic().Initialize();
        ::SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 12));
        if (!row.enabled) button.Logic().Enabled(false);
        if (row.pressHere) ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(40, 12));
        EXPECT_EQ(::GetCapture() == window, row.takes);
        EXPECT_EQ(::GetFocus() == window, row.takes);
        if (row.captureTaken) ::SetCapture(parent_);
        ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(40, 12));
        EXPECT_EQ(clicks, row.clicks);
        EXPECT_NE(::GetCapture(), window);
        ::ReleaseCapture();
        button_.reset();
    }
}

}  // namespace
}  // namespace pelluna::win32
