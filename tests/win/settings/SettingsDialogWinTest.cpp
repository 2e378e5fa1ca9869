// The settings dialog's Win32 side under Wine: the file chooser with this build's structure size, and the
// real window's layout and scroll bars.
#include "platform/win32/WindowsApi.h"

#include <cderr.h>
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "FakeDialogHost.h"
#include "FakePlatform.h"
#include "FakeShell.h"
#include "platform/win32/Win32Ports.h"
#include "settings/Pelluna_P.h"
#include "settings/SettingsValues.h"
#include "windows/SettingsDialog.h"

namespace pelluna {
namespace {

// Waits up to five seconds for a top-level window with the ANSI title and cancels it as the user would.
class ChooserCanceller {
  public:
    explicit ChooserCanceller(std::string title)
        : thread_([this, title = std::move(title)] {
              const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
              while (std::chrono::steady_clock::now() < deadline) {
                  if (HWND chooser = ::FindWindowA(nullptr, title.c_str())) {
                      seen_ = true;
                      ::PostMessageW(chooser, WM_COMMAND, IDCANCEL, 0);
                      return;
                  }
                  std::this_thread::sleep_for(std::chrono::milliseconds(20));
              }
          }) {}
    ~ChooserCanceller() { thread_.join(); }
    bool Seen() {
        thread_.join();
        thread_ = std::thread([] {});
        return seen_;
    }

  private:
    std::atomic<bool> seen_{false};
    std::thread thread_;
};

TEST(SettingsDialogWin, TheFileChooserTakesTheOldStructureSizeOfThisBuild) {
    testing::ResetProcessValues();
    testing::FakePlatform fake;
    win32::Win32Text text;
    win32::Win32CommonDialogs dialogs;
    testing::FakeDialogHost host(fake.log);
    host.window = 0;  // no owner: the chooser stands alone
    host.instance = reinterpret_cast<Handle>(::GetModuleHandleW(nullptr));
    testing::FakeShell shell(fake.log);
    Platform ports{fake.user, fake.gdi, fake.kernel, text, fake.clock, fake.mci};
    Pelluna_P dialog(ports, host, dialogs, shell);

    ChooserCanceller canceller(text.ToAnsi(L"ﾌｧｲﾙを開く"));
    dialog.Cmd_BGM_Click();
    EXPECT_TRUE(canceller.Seen()) << "no chooser titled in code page " << ::GetACP();
    EXPECT_EQ(gApiResult, 0);
    EXPECT_EQ(::CommDlgExtendedError(), 0u);  // cancelled, not refused
    EXPECT_EQ(gBgmFile, L"");

    // The 32-bit figure of 76 bytes is refused by a 64-bit system at once.
    if (sizeof(void*) == 8) {
        char file[256] = {};
        OpenFileNameA ofn;
        ofn.lStructSize = 76;
        ofn.lpstrFile = file;
        ofn.nMaxFile = 255;
        EXPECT_EQ(dialogs.GetOpenFileNameA(ofn), 0);
        EXPECT_EQ(::CommDlgExtendedError(), static_cast<DWORD>(CDERR_STRUCTSIZE));
    }
}

TEST(SettingsDialogWin, TheWindowIsBuiltFromTheLayoutInPixelsOfTheScreen) {
    win32::Win32Platform platform;
    const Platform ports = platform.Ports();
    win32::SettingsDialog window(::GetModuleHandleW(nullptr), ports);
    ASSERT_NE(window.hWnd(), 0u);
    const HDC screen = ::GetDC(nullptr);
    const double twipsPerPixel = 1440.0 / ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);

    const struct {
        DialogControl surface;
        std::int32_t widthTwips, heightTwips;
    } surfaces[] = {{DialogControl::Form, 7140, 4725},
                    {DialogControl::Pic_C0, 6615, 2175},
                    {DialogControl::Pic_C1, 5175, 1575}};
    for (const auto& s : surfaces) {
        std::int32_t width = 0;
        std::int32_t height = 0;
        window.ClientSize(s.surface, width, height);
        EXPECT_NEAR(width, s.widthTwips / twipsPerPixel, 1.0) << static_cast<int>(s.surface);
        EXPECT_NEAR(height, s.heightTwips / twipsPerPixel, 1.0) << static_cast<int>(s.surface);
    }

    // A bar refuses a value outside its range and keeps the one it has.
    EXPECT_EQ(window.GetValue(DialogControl::HS_Num), 10);
    EXPECT_FALSE(window.SetValue(DialogControl::HS_Num, 60));
    EXPECT_TRUE(window.SetValue(DialogControl::HS_Num, 50));
    EXPECT_FALSE(window.SetValue(DialogControl::HS_Fast, 49));
    EXPECT_TRUE(window.SetValue(DialogControl::HS_Fast, 150));
    EXPECT_EQ(window.GetValue(DialogControl::HS_Num), 50);
    EXPECT_EQ(window.GetValue(DialogControl::HS_Fast), 150);

    // The track list keeps typed text; the texts of labels are the table's until set.
    window.SetText(DialogControl::BGM_Repeat, L"12");
    EXPECT_EQ(window.GetText(DialogControl::BGM_Repeat), L"12");
    EXPECT_EQ(window.GetText(DialogControl::lbl_URL), kAddress);
    window.SetText(DialogControl::lbl_Fname, L"C:\\音楽\\雨.wav");
    EXPECT_EQ(window.GetText(DialogControl::lbl_Fname), L"C:\\音楽\\雨.wav");
}

}  // namespace
}  // namespace pelluna
