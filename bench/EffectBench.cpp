// The ripple effect's own work per frame (Tick and DrawCurrentFrame) through a GDI that does nothing.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "AllocationCounter.h"
#include "effect/Pelluna_C3.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

// Answers every call at once; counts the ellipses so the figures show the load.
class NullGdi final : public Gdi {
  public:
    long long ellipses = 0;

    Hdc CreateCompatibleDC(Hdc) override { return 1; }
    Hgdiobj CreateCompatibleBitmap(Hdc, int, int) override { return 2; }
    Hgdiobj SelectObject(Hdc, Hgdiobj object) override { return object; }
    bool DeleteObject(Hgdiobj) override { return true; }
    bool DeleteDC(Hdc) override { return true; }
    Hgdiobj GetStockObject(int index) override { return 0x100 + static_cast<Hgdiobj>(index); }
    Hgdiobj CreatePen(int, int, ColorRef color) override { return 0x1000 + color; }
    bool Rectangle(Hdc, int, int, int, int) override { return true; }
    bool Ellipse(Hdc, int, int, int, int) override {
        ++ellipses;
        return true;
    }
    bool BitBlt(Hdc, int, int, int, int, Hdc, int, int, std::uint32_t) override { return true; }
    bool StretchBlt(Hdc, int, int, int, int, Hdc, int, int, int, int, std::uint32_t) override { return true; }
    bool GradientFill(Hdc, const TriVertex*, std::uint32_t, const GradientRect*, std::uint32_t,
                      std::uint32_t) override {
        return true;
    }
};

class NullKernel final : public Kernel {
  public:
    std::wstring GetModuleFileNameW() override { return {}; }
    std::wstring GetShortPathNameW(const std::wstring&) override { return {}; }
    std::uint32_t GetPrivateProfileStringA(const char*, const char*, const char*, char*, std::uint32_t,
                                           const char*) override {
        return 0;
    }
    bool WritePrivateProfileStringA(const char*, const char*, const char*, const char*) override {
        return false;
    }
    Handle CreateFileA(const char*, std::uint32_t, std::uint32_t, std::uint32_t) override { return 0; }
    bool CloseHandle(Handle) override { return false; }
    std::uint32_t GetFileAttributesW(const std::wstring&) override { return win::INVALID_FILE_ATTRIBUTES; }
    int MulDiv(int number, int numerator, int denominator) override {
        return static_cast<int>(static_cast<long long>(number) * numerator / denominator);
    }
    Handle CreateMutexA(void*, bool, const char*) override { return 0; }
    Handle OpenMutexA(std::uint32_t, bool, const char*) override { return 0; }
    std::uint32_t GetLastError() override { return 0; }
    std::uint32_t FormatMessageW(std::uint32_t, const void*, std::uint32_t, std::uint32_t, wchar_t*,
                                 std::uint32_t) override {
        return 0;
    }
    std::uint16_t GetUserDefaultUILanguage() override { return 0x0409; }
    std::uint32_t GetACP() override { return 1252; }
    void Sleep(std::uint32_t) override {}
    [[noreturn]] void ExitProcess(std::uint32_t) override { std::abort(); }
};

// A clock that stands still, as it does for the hundreds of frames within one second.
class StillClock final : public Clock {
  public:
    std::uint32_t timeGetTime() override { return 0; }
    std::uint32_t timeBeginPeriod(std::uint32_t) override { return 0; }
    std::uint32_t timeEndPeriod(std::uint32_t) override { return 0; }
    double SecondsSinceMidnight() override { return 43200.0; }
    std::int32_t DwmIsCompositionEnabled(bool& enabled) override {
        enabled = false;
        return 0;
    }
    std::int32_t DwmFlush() override { return 0; }
};

void EffectFrame(benchmark::State& state) {
    const auto drops = static_cast<std::int32_t>(state.range(0));
    const auto width = static_cast<std::int32_t>(state.range(1));
    gDropsCount = drops;
    gRippleSpeed = 100;
    gRippleSize = 100;
    gFallSpeed = 800;
    gFallAngle = -1.56f;

    NullGdi gdi;
    NullKernel kernel;
    StillClock clock;
    Pelluna_C3 effect(gdi, kernel, clock);
    bool useTransition = false;
    effect.Construct(width, width * 9 / 16, useTransition);
    constexpr Hdc kFrameDC = 0xF00D;
    constexpr std::int32_t kFrameMs = 2;             // the saver runs at several hundred frames per second
    for (int warmUp = 0; warmUp < 5000; ++warmUp) {  // ten seconds: the ripples are in their steady state
        effect.Tick(kFrameMs);
        effect.DrawCurrentFrame(kFrameDC);
    }

    gdi.ellipses = 0;
    const long long allocationsBefore = bench::gAllocations;
    for (auto _ : state) {
        effect.Tick(kFrameMs);
        effect.DrawCurrentFrame(kFrameDC);
    }
    const long long allocations = bench::gAllocations - allocationsBefore;
    state.counters["rings/frame"] =
        benchmark::Counter(static_cast<double>(gdi.ellipses), benchmark::Counter::kAvgIterations);
    state.counters["allocs/frame"] =
        benchmark::Counter(static_cast<double>(allocations), benchmark::Counter::kAvgIterations);
    effect.Destruct();
}

BENCHMARK(EffectFrame)
    ->ArgsProduct({{25, 50, 100}, {1024, 1920, 3840}})
    ->ArgNames({"drops", "width"})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pelluna

BENCHMARK_MAIN();
