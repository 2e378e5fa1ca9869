// Frame rate of the real saver frame loop against a bare loop, at the screen's size with the default
// settings. One run measures one loop: `saver` runs Pelluna_S itself (erase, messages, tick, draw, copy),
// `bare` only erases, processes messages and copies. Each prints "<loop>: N fps" and its allocations.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstring>
#include <memory>

#include "AllocationCounter.h"
#include "effect/Pelluna_C1.h"
#include "effect/Pelluna_C3.h"
#include "music/Pelluna_BGM.h"
#include "platform/win32/Win32Ports.h"
#include "saver/Pelluna_S.h"
#include "settings/SettingsValues.h"
#include "windows/SaverWindow.h"

namespace pelluna::bench {
namespace {

constexpr double kWarmUpSeconds = 1.0;
constexpr double kMeasuredSeconds = 4.0;

// Counts the frames that pass through an effect and, after the measured time, asks the window to close
// as another program would; the saver loop then ends after its frame.
class CountingEffect final : public Pelluna_C2 {
  public:
    CountingEffect(std::unique_ptr<Pelluna_C2> effect, HWND window, const char* name)
        : effect_(std::move(effect)), window_(window), name_(name) {}

    bool Construct(std::int32_t nWidth, std::int32_t nHeight, bool& bUseTransition) override {
        return effect_->Construct(nWidth, nHeight, bUseTransition);
    }
    void Destruct() override {
        Report();
        effect_->Destruct();
    }
    void Tick(std::int32_t nElapsedMs) override {
        effect_->Tick(nElapsedMs);
        Count();
    }
    bool DrawTransitionMask(Hdc hDC) override { return effect_->DrawTransitionMask(hDC); }
    void EraseBackground(Hdc hDC) override { effect_->EraseBackground(hDC); }
    void DrawCurrentFrame(Hdc hDC) override { effect_->DrawCurrentFrame(hDC); }

    // One frame has passed; true once the measured time is over.
    bool Count() {
        const double now = Seconds();
        if (start_ == 0) start_ = now;
        const double elapsed = now - start_;
        if (elapsed < kWarmUpSeconds) return false;
        if (measuredFrames_ == 0) {
            measureStart_ = now;
            allocationsAtStart_ = gAllocations.load();
        }
        ++measuredFrames_;
        if (now - measureStart_ < kMeasuredSeconds) return false;
        if (!closing_) ::PostMessageW(window_, WM_CLOSE, 0, 0);
        closing_ = true;
        return true;
    }

    void Report() const {
        const double seconds = Seconds() - measureStart_;
        std::printf("%s: %.0f fps\n", name_,
                    seconds > 0 ? static_cast<double>(measuredFrames_) / seconds : 0.0);
        std::printf("%s allocations in measured frames: %lld\n", name_,
                    gAllocations.load() - allocationsAtStart_);
        std::fflush(stdout);
    }

  private:
    static double Seconds() {
        LARGE_INTEGER counter, frequency;
        ::QueryPerformanceCounter(&counter);
        ::QueryPerformanceFrequency(&frequency);
        return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
    }

    std::unique_ptr<Pelluna_C2> effect_;
    HWND window_;
    const char* name_;
    double start_ = 0;
    double measureStart_ = 0;
    long long measuredFrames_ = 0;
    long long allocationsAtStart_ = 0;
    bool closing_ = false;
};

void UseDefaultSettings() {
    gDropsCount = 25;
    gRippleSpeed = 100.0f;
    gRippleSize = 100.0f;
    gFallSpeed = 800.0f;
    gFallAngle = -1.56f;
    gBgmKind = 0;
}

// The saver's own load handler and frame loop, ended by a close request after the measured time.
void RunSaverLoop(HINSTANCE instance, win32::Win32Platform& platform) {
    const Platform ports = platform.Ports();
    win32::SaverWindow window(instance, platform.text);
    Pelluna_BGM bgm(platform.mci, platform.text);
    const HWND hwnd = reinterpret_cast<HWND>(window.hWnd());
    Pelluna_S saver(ports, window, bgm, L'\0', [&] {
        return std::make_unique<CountingEffect>(
            std::make_unique<Pelluna_C3>(platform.gdi, platform.kernel, platform.clock), hwnd, "saver loop");
    });
    window.Attach(saver);
    saver.Load();  // ends the process
}

// Erase, messages and copy only: what any full-screen loop pays before it draws anything.
void RunBareLoop(HINSTANCE instance, win32::Win32Platform& platform) {
    win32::SaverWindow window(instance, platform.text);
    const int width = ::GetSystemMetrics(SM_CXSCREEN);
    const int height = ::GetSystemMetrics(SM_CYSCREEN);
    window.Move(0, 0, width, height);
    window.Show();
    Pelluna_C1 backBuffer(platform.user, platform.gdi);
    backBuffer.CreateBlank(width, height, false);
    const Hdc back = backBuffer.hDC();
    CountingEffect counter(std::make_unique<Pelluna_C2>(), reinterpret_cast<HWND>(window.hWnd()),
                           "bare loop");
    for (bool done = false; !done;) {
        platform.gdi.SelectObject(back, platform.gdi.GetStockObject(BLACK_PEN));
        platform.gdi.SelectObject(back, platform.gdi.GetStockObject(BLACK_BRUSH));
        platform.gdi.Rectangle(back, 0, 0, width, height);
        window.DoEvents();
        done = counter.Count();
        backBuffer.QuickBlit(window.hDC(), SRCCOPY);
    }
    counter.Report();
}

}  // namespace
}  // namespace pelluna::bench

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace pelluna;
    bench::UseDefaultSettings();
    win32::Win32Platform platform;
    if (commandLine && std::strcmp(commandLine, "bare") == 0) {
        bench::RunBareLoop(instance, platform);
    } else {
        bench::RunSaverLoop(instance, platform);
    }
    return 0;
}
