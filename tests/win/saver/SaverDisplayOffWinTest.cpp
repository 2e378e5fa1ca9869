// The real saver window and frame loop told that the console display went off and came on again.
#include "platform/win32/WindowsApi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <cstring>
#include <thread>

#include "FakeKernel.h"
#include "FakePlatform.h"
#include "platform/win32/Win32Ports.h"
#include "saver/Pelluna_S.h"
#include "settings/SettingsValues.h"
#include "windows/SaverWindow.h"

namespace pelluna::win32 {
namespace {

// The frames drawn and the last step of effect time, read by the test's other thread.
struct Frames {
    std::atomic<int> drawn{0};
    std::atomic<std::int32_t> lastStep{0};
};

class CountingEffect final : public Pelluna_C2 {
  public:
    explicit CountingEffect(Frames& frames) : frames_(frames) {}
    bool Construct(std::int32_t, std::int32_t, bool& bUseTransition) override {
        bUseTransition = false;
        return true;
    }
    void Destruct() override {}
    void Tick(std::int32_t nElapsedMs) override { frames_.lastStep = nElapsedMs; }
    bool DrawTransitionMask(Hdc) override { return false; }
    void EraseBackground(Hdc) override {}
    void DrawCurrentFrame(Hdc) override { ++frames_.drawn; }

  private:
    Frames& frames_;
};

double NowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// Waits until frames have been drawn beyond count; the milliseconds it took, or -1 after a second.
double UntilDrawnBeyond(const Frames& frames, int count) {
    const double start = NowMs();
    while (frames.drawn <= count) {
        if (NowMs() - start > 1000) return -1;
        std::this_thread::yield();
    }
    return NowMs() - start;
}

// The power-setting notification as the system sends it: the display's state after the GUID.
void SendDisplayState(HWND window, DWORD state) {
    alignas(POWERBROADCAST_SETTING) unsigned char bytes[sizeof(POWERBROADCAST_SETTING) + sizeof(DWORD)]{};
    auto* setting = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes);
    setting->PowerSetting = GUID_CONSOLE_DISPLAY_STATE;
    setting->DataLength = sizeof(DWORD);
    std::memcpy(bytes + offsetof(POWERBROADCAST_SETTING, Data), &state, sizeof(state));
    ::SendMessageW(window, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(setting));
}

TEST(SaverDisplayWin, NoFrameWhileTheDisplayIsOffThenFramesWithinARefreshAndASmallStep) {
    testing::ResetProcessValues();
    gBgmKind = bgm_kind::None;
    Win32Platform real;
    testing::CallLog log;
    testing::FakeKernel kernel(log);  // the end of the run comes back to the test
    const Platform ports{real.user, real.gdi, kernel, real.text, real.clock, real.mci};
    SaverWindow window(::GetModuleHandleW(nullptr), real.text);
    Pelluna_BGM bgm(real.mci, real.text);
    Frames frames;
    Pelluna_S saver(ports, window, bgm, L'\0', [&] { return std::make_unique<CountingEffect>(frames); });
    window.Attach(saver);
    const auto hwnd = reinterpret_cast<HWND>(window.hWnd());

    int drawnWhileOff = -1;
    double resumedAfterMs = -1;
    std::thread display([&] {
        if (UntilDrawnBeyond(frames, 5) >= 0) {
            SendDisplayState(hwnd, 0);
            const int atOff = frames.drawn;
            ::Sleep(2000);  // the span that must pass without a frame
            drawnWhileOff = frames.drawn - atOff;
            SendDisplayState(hwnd, 1);
            resumedAfterMs = UntilDrawnBeyond(frames, atOff + drawnWhileOff);
        }
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
    });
    EXPECT_THROW(saver.Load(), testing::ProcessExit);
    display.join();
    EXPECT_EQ(drawnWhileOff, 0);
    EXPECT_GE(resumedAfterMs, 0.0);
    EXPECT_LE(resumedAfterMs, 1000.0 / 60);
    // The minutes or seconds the display was off never reach the effect.
    EXPECT_LE(frames.lastStep, 17);
}

}  // namespace
}  // namespace pelluna::win32
