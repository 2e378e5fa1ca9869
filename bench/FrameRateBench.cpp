// Frame rate of the saver's frame work against a bare erase-and-copy loop, in a borderless full-screen
// window under the default settings. Prints both rates, their ratio, and where the time of a frame goes.
#include "platform/win32/WindowsApi.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "AllocationCounter.h"
#include "effect/Pelluna_C1.h"
#include "effect/Pelluna_C3.h"
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

using win32::ToWin;

// One drawing call of a frame, kept so the same calls can be made again without the effect.
struct GdiCall {
    enum Kind { Select, Rectangle, Ellipse, Blit } kind;
    Hdc dc;
    Hgdiobj object;  // the object selected, or the source DC of a copy
    int left, top, right, bottom;
};

// Forwards to the real GDI, counts the rings and, while asked to, records the drawing calls.
class RecordingGdi final : public Gdi {
  public:
    explicit RecordingGdi(Gdi& real) : m_real(real) {}
    long long ellipses = 0;
    std::vector<GdiCall>* recording = nullptr;

    Hdc CreateCompatibleDC(Hdc hDC) override { return m_real.CreateCompatibleDC(hDC); }
    Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) override {
        return m_real.CreateCompatibleBitmap(hDC, cx, cy);
    }
    Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) override {
        Record({GdiCall::Select, hDC, object, 0, 0, 0, 0});
        return m_real.SelectObject(hDC, object);
    }
    bool DeleteObject(Hgdiobj object) override { return m_real.DeleteObject(object); }
    bool DeleteDC(Hdc hDC) override { return m_real.DeleteDC(hDC); }
    Hgdiobj GetStockObject(int index) override { return m_real.GetStockObject(index); }
    Hgdiobj CreatePen(int style, int width, ColorRef color) override {
        return m_real.CreatePen(style, width, color);
    }
    bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) override {
        Record({GdiCall::Rectangle, hDC, 0, left, top, right, bottom});
        return m_real.Rectangle(hDC, left, top, right, bottom);
    }
    bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) override {
        ++ellipses;
        Record({GdiCall::Ellipse, hDC, 0, left, top, right, bottom});
        return m_real.Ellipse(hDC, left, top, right, bottom);
    }
    bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                std::uint32_t rop) override {
        Record({GdiCall::Blit, hDest, hSrc, x, y, cx, cy});
        return m_real.BitBlt(hDest, x, y, cx, cy, hSrc, x1, y1, rop);
    }
    bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc_, std::uint32_t rop) override {
        return m_real.StretchBlt(hDest, xDest, yDest, wDest, hDest_, hSrc, xSrc, ySrc, wSrc, hSrc_, rop);
    }

  private:
    void Record(const GdiCall& call) {
        if (recording) recording->push_back(call);
    }
    Gdi& m_real;
};

// The window's device context for as long as the benchmark draws into it.
class WindowDC {
  public:
    explicit WindowDC(HWND window) : m_window(window), m_dc(::GetDC(window)) {}
    ~WindowDC() { ::ReleaseDC(m_window, m_dc); }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    Hdc Get() const { return win32::FromWin(m_dc); }

  private:
    HWND m_window;
    HDC m_dc;
};

LRESULT CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ERASEBKGND) return 1;  // every frame paints every pixel
    return ::DefWindowProcW(window, message, wParam, lParam);
}

void PumpMessages() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

class Stopwatch {
  public:
    Stopwatch() {
        ::QueryPerformanceFrequency(&m_frequency);
        ::QueryPerformanceCounter(&m_start);
    }
    double Seconds() const {
        LARGE_INTEGER now;
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - m_start.QuadPart) /
               static_cast<double>(m_frequency.QuadPart);
    }

  private:
    LARGE_INTEGER m_frequency{};
    LARGE_INTEGER m_start{};
};

// The saver's frame and the bare frame, and three between them that show where the difference lies.
// Wine shows a window's drawing on the X display only when the thread looks at its message queue, so the
// bare loop's frames never reach the screen; the bare loop with the pump shows them.
enum class Loop { Saver, SaverWithoutPump, SameCalls, BareWithPump, Bare };
constexpr int kLoops = 5;
const char* const kLoopNames[kLoops] = {"saver loop", "saver loop without the message pump",
                                        "the same GDI calls replayed, no pump (erase counted as drawing)",
                                        "bare loop with the message pump", "bare loop"};

// Seconds spent in each step of a loop's frames.
struct Phases {
    double erase = 0, pump = 0, draw = 0, copy = 0;
};

struct Frames {
    Pelluna_C2& effect;
    Pelluna_C1& backBuffer;
    Hdc windowDC;
    Clock& clock;
    std::uint32_t lastTick;
    const std::vector<GdiCall>& recorded;  // frames of drawing calls, each ending with its copy
    std::size_t replayAt = 0;
};

// Replays one recorded frame's drawing calls (everything before its copy) straight into GDI.
void ReplayDrawing(Frames& frames) {
    while (true) {
        const GdiCall& call = frames.recorded[frames.replayAt];
        frames.replayAt = (frames.replayAt + 1) % frames.recorded.size();
        HDC dc = ToWin<HDC>(call.dc);
        switch (call.kind) {
            case GdiCall::Select:
                ::SelectObject(dc, ToWin<HGDIOBJ>(call.object));
                break;
            case GdiCall::Rectangle:
                ::Rectangle(dc, call.left, call.top, call.right, call.bottom);
                break;
            case GdiCall::Ellipse:
                ::Ellipse(dc, call.left, call.top, call.right, call.bottom);
                break;
            case GdiCall::Blit:
                return;
        }
    }
}

// One round of one loop: how many frames in how many seconds, and the time of each step.
double RunRound(Loop loop, double seconds, Frames& frames, Phases& phases, long long& count) {
    const Stopwatch watch;
    long long done = 0;
    double mark = 0;
    const auto lap = [&](double& phase) {
        const double now = watch.Seconds();
        phase += now - mark;
        mark = now;
    };
    do {
        if (loop == Loop::SameCalls) {
            ReplayDrawing(frames);
            lap(phases.draw);
        } else {
            frames.effect.EraseBackground(frames.backBuffer.hDC());
            lap(phases.erase);
        }
        if (loop == Loop::BareWithPump) {
            PumpMessages();
            lap(phases.pump);
        }
        if (loop == Loop::Saver || loop == Loop::SaverWithoutPump) {
            if (loop == Loop::Saver) PumpMessages();
            lap(phases.pump);
            const std::uint32_t now = frames.clock.timeGetTime();
            frames.effect.Tick(static_cast<std::int32_t>(now - frames.lastTick));
            frames.lastTick = now;
            frames.effect.DrawCurrentFrame(frames.backBuffer.hDC());
            lap(phases.draw);
        }
        frames.backBuffer.QuickBlit(frames.windowDC, SRCCOPY);
        lap(phases.copy);
        ++done;
    } while (mark < seconds);
    // Loops that do not tick leave a gap in time; the saver's clock restarts so the gap never reaches it.
    frames.lastTick = frames.clock.timeGetTime();
    count += done;
    return static_cast<double>(done) / mark;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

int Run(HINSTANCE instance) {
    gDropsCount = 25;
    gRippleSpeed = 100;
    gRippleSize = 100;
    gFallSpeed = 800;
    gFallAngle = -1.56f;

    WNDCLASSW windowClass{};
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = BenchWindowProc;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = L"PellunaFrameRateBench";
    if (!::RegisterClassW(&windowClass)) return 2;
    HWND window =
        ::CreateWindowExW(WS_EX_TOPMOST, windowClass.lpszClassName, L"Pelluna frame-rate benchmark",
                          WS_POPUP | WS_VISIBLE, 0, 0, 1920, 1080, nullptr, nullptr, instance, nullptr);
    if (!window) return 2;
    PumpMessages();
    RECT client{};
    ::GetClientRect(window, &client);

    win32::Win32Platform real;
    RecordingGdi gdi(real.gdi);
    Pelluna_C3 effect(gdi, real.kernel, real.clock);
    bool useTransition = false;
    if (!effect.Construct(client.right, client.bottom, useTransition)) return 2;
    Pelluna_C1 backBuffer(real.user, gdi);
    if (!backBuffer.CreateBlank(client.right, client.bottom, false)) return 2;

    constexpr int kRounds = 9;
    constexpr double kRoundSeconds = 0.6;
    std::vector<GdiCall> recorded;
    recorded.reserve(400000);
    std::vector<double> fps[kLoops];
    for (auto& rates : fps) rates.reserve(kRounds);
    std::vector<double> ratios;
    ratios.reserve(kRounds);
    Phases phases[kLoops];
    long long frameCount[kLoops] = {};
    long long allocations = 0;
    long long rings = 0;
    {
        const WindowDC windowDC(window);
        real.clock.timeBeginPeriod(2);
        Frames frames{effect, backBuffer, windowDC.Get(), real.clock, real.clock.timeGetTime(), recorded};

        // Warm up until the ripples are in their steady state, and keep the drawing calls of a second of
        // frames for the replay.
        Phases ignored;
        long long ignoredCount = 0;
        RunRound(Loop::Saver, 2.0, frames, ignored, ignoredCount);
        gdi.recording = &recorded;
        RunRound(Loop::Saver, 1.0, frames, ignored, ignoredCount);
        gdi.recording = nullptr;
        if (recorded.empty() || recorded.size() >= recorded.capacity()) return 2;

        // The loops alternate in short rounds so that the machine's other work touches all alike.
        for (int round = 0; round < kRounds; ++round) {
            const long long allocationsBefore = bench::gAllocations;
            const long long ringsBefore = gdi.ellipses;
            for (int loop = 0; loop < kLoops; ++loop) {
                fps[loop].push_back(
                    RunRound(static_cast<Loop>(loop), kRoundSeconds, frames, phases[loop], frameCount[loop]));
                if (loop == 0) rings += gdi.ellipses - ringsBefore;
            }
            allocations += bench::gAllocations - allocationsBefore;
            ratios.push_back(fps[0].back() / fps[kLoops - 1].back());
        }
        real.clock.timeEndPeriod(2);
    }

    const double bare = Median(fps[static_cast<int>(Loop::Bare)]);
    std::printf("picture: %ld x %ld, %d drops; %d alternating rounds of %.1f s per loop, medians\n",
                client.right, client.bottom, gDropsCount, kRounds, kRoundSeconds);
    std::printf("saver loop: %.0f fps (%.1f rings per frame)\n", Median(fps[0]),
                static_cast<double>(rings) / static_cast<double>(frameCount[0]));
    std::printf("bare loop: %.0f fps\n", bare);
    std::printf("ratio: %.3f\n", Median(ratios));
    for (int loop = 1; loop < kLoops - 1; ++loop) {
        std::printf("%s: %.0f fps (to bare loop %.3f)\n", kLoopNames[loop], Median(fps[loop]),
                    Median(fps[loop]) / bare);
    }
    std::printf("saver loop / bare loop with the message pump: %.3f\n",
                Median(fps[0]) / Median(fps[static_cast<int>(Loop::BareWithPump)]));
    for (int loop = 0; loop < kLoops; ++loop) {
        const auto us = [&](double seconds) { return seconds / static_cast<double>(frameCount[loop]) * 1e6; };
        std::printf("%s, microseconds per frame: erase %.0f, messages %.0f, tick and draw %.0f, copy %.0f\n",
                    kLoopNames[loop], us(phases[loop].erase), us(phases[loop].pump), us(phases[loop].draw),
                    us(phases[loop].copy));
    }
    std::printf("allocations in measured frames: %lld\n", allocations);
    std::fflush(stdout);

    effect.Destruct();
    ::DestroyWindow(window);
    return 0;
}

}  // namespace
}  // namespace pelluna

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return pelluna::Run(instance);
}
