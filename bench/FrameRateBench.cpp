// Frame rate of the real saver frame loop against other loops, over every monitor of the desk with the
// default settings. One run measures one loop: `saver` runs Pelluna_S itself (erase, messages, tick, draw,
// one copy a monitor); `saver-R` does so with every monitor reporting R Hz, and `saver-R-battery` also
// told that the power source is a battery; `minimal` makes the same calls without the saver; `refresh-R`
// makes them once a refresh at R Hz on an exact grid, as the saver paced its frames before they lasted
// whole refreshes; `whole` makes them into one surface of the whole window and copies it in one transfer;
// `bare` only erases, processes messages and copies. Each prints "<loop>: N fps", its process's CPU time
// (GetProcessTimes: user and kernel) a second and a frame, and its allocations.
#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

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

    bool Closing() const { return closing_; }

    // One frame has passed; true once the measured time is over.
    bool Count() {
        const double now = Seconds();
        if (start_ == 0) start_ = now;
        const double elapsed = now - start_;
        if (elapsed < kWarmUpSeconds) return false;
        if (measuredFrames_ == 0) {
            measureStart_ = now;
            allocationsAtStart_ = gAllocations.load();
            cpuAtStart_ = ProcessCpuSeconds();
        }
        ++measuredFrames_;
        if (now - measureStart_ < kMeasuredSeconds) return false;
        if (!closing_) {
            ::PostMessageW(window_, WM_CLOSE, 0, 0);
            measuredSeconds_ = now - measureStart_;
            cpuSeconds_ = ProcessCpuSeconds() - cpuAtStart_;
        }
        closing_ = true;
        return true;
    }

    void Report() const {
        const double seconds = measuredSeconds_;
        const auto frames = static_cast<double>(measuredFrames_);
        std::printf("%s: %.1f fps\n", name_, seconds > 0 ? frames / seconds : 0.0);
        std::printf("%s cpu: %.4f s a second, %.3f ms a frame\n", name_,
                    seconds > 0 ? cpuSeconds_ / seconds : 0.0,
                    frames > 0 ? 1000.0 * cpuSeconds_ / frames : 0.0);
        std::printf("%s allocations in measured frames: %lld\n", name_,
                    gAllocations.load() - allocationsAtStart_);
        std::fflush(stdout);
    }

  private:
    static double ProcessCpuSeconds() {
        FILETIME created, exited, kernel, user;
        ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
        const auto ticks = [](const FILETIME& t) {
            return static_cast<double>((static_cast<unsigned long long>(t.dwHighDateTime) << 32) |
                                       t.dwLowDateTime);
        };
        return (ticks(kernel) + ticks(user)) / 1e7;  // 100 ns units
    }
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
    double cpuAtStart_ = 0;
    double measuredSeconds_ = 0;
    double cpuSeconds_ = 0;
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

// Every monitor reports the same refresh rate, as a desk of monitors at that rate would.
class ForcedRateUser final : public win32::Win32User {
  public:
    explicit ForcedRateUser(std::uint32_t rate) : rate_(rate) {}
    bool EnumDisplaySettingsW(const wchar_t*, std::uint32_t, DisplayMode& mode) override {
        mode.dmDisplayFrequency = rate_;
        return true;
    }

  private:
    std::uint32_t rate_;
};

// The saver's own load handler and frame loop, ended by a close request after the measured time; with a
// forced rate (0: the system's) and on battery if asked.
void RunSaverLoop(HINSTANCE instance, win32::Win32Platform& platform, std::uint32_t forcedRate, bool battery,
                  const char* name) {
    ForcedRateUser forcedUser(forcedRate);
    const Platform ports{forcedRate != 0 ? forcedUser : static_cast<User&>(platform.user),
                         platform.gdi,
                         platform.kernel,
                         platform.text,
                         platform.clock,
                         platform.mci};
    win32::SaverWindow window(instance, platform.text);
    Pelluna_BGM bgm(platform.mci, platform.text);
    const HWND hwnd = reinterpret_cast<HWND>(window.hWnd());
    // The first effect (the primary monitor's) counts the frames; the others only draw.
    bool counting = false;
    Pelluna_S saver(ports, window, bgm, L'\0', [&]() -> std::unique_ptr<Pelluna_C2> {
        auto effect = std::make_unique<Pelluna_C3>(platform.gdi, platform.kernel, platform.clock);
        if (counting) return effect;
        counting = true;
        return std::make_unique<CountingEffect>(std::move(effect), hwnd, name);
    });
    window.Attach(saver);
    if (battery) saver.PowerSource(1);  // PoDc
    saver.Load();                       // ends the process
}

// The monitors of the desk in client coordinates of a window over the virtual screen (one monitor: the
// primary screen), and that window's place.
struct Desk {
    RECT window{};
    std::vector<RECT> monitors;
};

BOOL CALLBACK CollectMonitor(HMONITOR, HDC, LPRECT rect, LPARAM monitors) {
    reinterpret_cast<std::vector<RECT>*>(monitors)->push_back(*rect);
    return TRUE;
}

Desk ReadDesk() {
    Desk desk;
    ::EnumDisplayMonitors(nullptr, nullptr, &CollectMonitor, reinterpret_cast<LPARAM>(&desk.monitors));
    if (desk.monitors.size() <= 1) {
        desk.window = RECT{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
        desk.monitors.assign(1, desk.window);
        return desk;
    }
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
    const int top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    desk.window = RECT{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                       top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    for (RECT& monitor : desk.monitors) ::OffsetRect(&monitor, -left, -top);
    return desk;
}

int Width(const RECT& r) {
    return r.right - r.left;
}
int Height(const RECT& r) {
    return r.bottom - r.top;
}

// Erase, messages and copy only: what any full-screen loop pays before it draws anything, with a surface a
// monitor as the saver has.
void RunBareLoop(HINSTANCE instance, win32::Win32Platform& platform) {
    win32::SaverWindow window(instance, platform.text);
    const Desk desk = ReadDesk();
    window.Move(desk.window.left, desk.window.top, Width(desk.window), Height(desk.window));
    window.Show();
    std::vector<std::unique_ptr<Pelluna_C1>> surfaces;
    for (const RECT& monitor : desk.monitors) {
        surfaces.push_back(std::make_unique<Pelluna_C1>(platform.user, platform.gdi));
        surfaces.back()->CreateBlank(Width(monitor), Height(monitor), false);
    }
    CountingEffect counter(std::make_unique<Pelluna_C2>(), reinterpret_cast<HWND>(window.hWnd()),
                           "bare loop");
    const std::size_t count = surfaces.size();
    for (bool done = false; !done;) {
        for (std::size_t i = 0; i < count; ++i) {
            const Hdc back = surfaces[i]->hDC();
            platform.gdi.SelectObject(back, platform.gdi.GetStockObject(BLACK_PEN));
            platform.gdi.SelectObject(back, platform.gdi.GetStockObject(BLACK_BRUSH));
            platform.gdi.Rectangle(back, 0, 0, Width(desk.monitors[i]), Height(desk.monitors[i]));
        }
        window.DoEvents();
        done = counter.Count();
        for (std::size_t i = 0; i < count; ++i) {
            surfaces[i]->QuickBlitAt(window.hDC(), desk.monitors[i].left, desk.monitors[i].top, SRCCOPY);
        }
    }
    counter.Report();
}

// The saver's calls without the saver: each monitor's ripple effect erased, ticked and drawn, around one
// pass of messages. wholeWindow false: a surface a monitor and one transfer each, as the saver does; true:
// one surface of the window's size, each effect drawing into its part through a moved origin and a clip of
// its own, and one transfer for the whole window. pacedRate 0: flat out; else one frame a refresh at that
// rate, on an exact grid (a late frame skips to the next point), waiting as the saver waits.
void RunMinimalLoop(HINSTANCE instance, win32::Win32Platform& platform, bool wholeWindow,
                    std::uint32_t pacedRate, const char* name) {
    win32::SaverWindow window(instance, platform.text);
    const Desk desk = ReadDesk();
    window.Move(desk.window.left, desk.window.top, Width(desk.window), Height(desk.window));
    window.Show();
    const std::size_t count = desk.monitors.size();
    std::vector<std::unique_ptr<Pelluna_C1>> surfaces;
    std::vector<std::unique_ptr<Pelluna_C2>> effects;
    std::vector<HRGN> clips;
    CountingEffect* counter = nullptr;
    if (wholeWindow) {
        surfaces.push_back(std::make_unique<Pelluna_C1>(platform.user, platform.gdi));
        surfaces.back()->CreateBlank(Width(desk.window), Height(desk.window), false);
        // The part on no monitor is never drawn: black once.
        ::PatBlt(reinterpret_cast<HDC>(surfaces.back()->hDC()), 0, 0, Width(desk.window), Height(desk.window),
                 BLACKNESS);
    }
    for (const RECT& monitor : desk.monitors) {
        std::unique_ptr<Pelluna_C2> effect =
            std::make_unique<Pelluna_C3>(platform.gdi, platform.kernel, platform.clock);
        if (effects.empty()) {
            auto counting = std::make_unique<CountingEffect>(std::move(effect),
                                                             reinterpret_cast<HWND>(window.hWnd()), name);
            counter = counting.get();
            effect = std::move(counting);
        }
        bool transition = false;
        effect->Construct(Width(monitor), Height(monitor), transition);
        effects.push_back(std::move(effect));
        if (wholeWindow) {
            clips.push_back(::CreateRectRgnIndirect(&monitor));
        } else {
            surfaces.push_back(std::make_unique<Pelluna_C1>(platform.user, platform.gdi));
            surfaces.back()->CreateBlank(Width(monitor), Height(monitor), false);
        }
    }
    // The device context that monitor i draws into, prepared for it.
    const auto surfaceOf = [&](std::size_t i) -> Hdc {
        if (!wholeWindow) return surfaces[i]->hDC();
        const HDC dc = reinterpret_cast<HDC>(surfaces[0]->hDC());
        ::SelectClipRgn(dc, clips[i]);
        ::SetViewportOrgEx(dc, desk.monitors[i].left, desk.monitors[i].top, nullptr);
        return surfaces[0]->hDC();
    };
    platform.clock.timeBeginPeriod(2);
    std::uint32_t last = platform.clock.timeGetTime();
    const std::uint32_t start = last;
    std::uint64_t refresh = 0;  // the grid's point of the frame being drawn
    while (!counter->Closing()) {
        for (std::size_t i = 0; i < count; ++i) effects[i]->EraseBackground(surfaceOf(i));
        window.DoEvents();
        const std::uint32_t now = platform.clock.timeGetTime();
        for (auto& effect : effects) effect->Tick(Pelluna_S::ElapsedMs(last, now));
        last = now;
        for (std::size_t i = 0; i < count; ++i) effects[i]->DrawCurrentFrame(surfaceOf(i));
        if (wholeWindow) {
            const HDC dc = reinterpret_cast<HDC>(surfaces[0]->hDC());
            ::SelectClipRgn(dc, nullptr);
            ::SetViewportOrgEx(dc, 0, 0, nullptr);
            surfaces[0]->QuickBlit(window.hDC(), SRCCOPY);
        } else {
            for (std::size_t i = 0; i < count; ++i) {
                surfaces[i]->QuickBlitAt(window.hDC(), desk.monitors[i].left, desk.monitors[i].top, SRCCOPY);
            }
        }
        if (pacedRate == 0) continue;
        const auto passed = static_cast<std::uint64_t>(platform.clock.timeGetTime() - start);
        refresh = std::max(refresh + 1, passed * pacedRate / 1000 + 1);
        const auto due = start + static_cast<std::uint32_t>(refresh * 1000 / pacedRate);
        for (auto now = platform.clock.timeGetTime(); static_cast<std::int32_t>(due - now) > 0;
             now = platform.clock.timeGetTime()) {
            if (::MsgWaitForMultipleObjectsEx(0, nullptr, due - now, 0x04FF, MWMO_INPUTAVAILABLE) !=
                WAIT_TIMEOUT) {
                window.DoEvents();
            }
        }
    }
    platform.clock.timeEndPeriod(2);
    for (auto& effect : effects) effect->Destruct();
    for (HRGN clip : clips) ::DeleteObject(clip);
}

}  // namespace
}  // namespace pelluna::bench

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace pelluna;
    bench::UseDefaultSettings();
    win32::Win32Platform platform;
    const std::string loop = commandLine ? commandLine : "";
    // The rate of "saver-R", "saver-R-battery" and "refresh-R"; 0 without one.
    const auto dash = loop.find('-');
    const auto rate =
        static_cast<std::uint32_t>(dash == std::string::npos ? 0 : std::atoi(loop.c_str() + dash + 1));
    const bool battery = loop.ends_with("-battery");
    char name[64];
    std::snprintf(name, sizeof(name), "%s at %u Hz%s",
                  loop.starts_with("refresh") ? "one frame a refresh" : "saver loop", rate,
                  battery ? " on battery" : "");
    if (loop == "bare") {
        bench::RunBareLoop(instance, platform);
    } else if (loop == "minimal") {
        bench::RunMinimalLoop(instance, platform, false, 0, "minimal loop");
    } else if (loop == "whole") {
        bench::RunMinimalLoop(instance, platform, true, 0, "whole-window loop");
    } else if (loop.starts_with("refresh-")) {
        bench::RunMinimalLoop(instance, platform, false, rate, name);
    } else {
        bench::RunSaverLoop(instance, platform, rate, battery, rate != 0 ? name : "saver loop");
    }
    return 0;
}
