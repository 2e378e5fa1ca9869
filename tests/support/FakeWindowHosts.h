// Recording fakes of the saver and preview windows' hosts, and an effect that records its calls.
#pragma once

#include <functional>
#include <set>

#include "CallLog.h"
#include "effect/Pelluna_C2.h"
#include "saver/PreviewHost.h"
#include "saver/SaverHost.h"

namespace pelluna::testing {

class FakeSaverHost final : public SaverHost {
  public:
    explicit FakeSaverHost(CallLog& log) : log_(log) {}

    Hwnd window = 0x5A5A;
    Hdc windowDC = 0xD0D0;
    std::int32_t clientWidth = 1920;
    std::int32_t clientHeight = 1080;
    // What happens inside each DoEvents, given the number of the call (1, 2, ...): input, timers, close.
    std::function<void(int)> onDoEvents;
    int doEventsCalls = 0;

    Hwnd hWnd() override { return window; }
    Hdc hDC() override { return windowDC; }
    void SetWindowStateNormal() override { log_.Add("Host.SetWindowStateNormal()"); }
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override {
        log_.Add(Call("Host.Move", left, top, width, height));
    }
    void ClientSize(std::int32_t& width, std::int32_t& height) override {
        log_.Add("Host.ClientSize()");
        width = clientWidth;
        height = clientHeight;
    }
    void Show() override { log_.Add("Host.Show()"); }
    void SetFocus() override { log_.Add("Host.SetFocus()"); }
    void SetTimerEnabled(SaverTimer timer, bool enabled) override {
        log_.Add(Call("Host.SetTimerEnabled", Name(timer), enabled));
        if (enabled) {
            enabled_.insert(timer);
        } else {
            enabled_.erase(timer);
        }
    }
    bool TimerEnabled(SaverTimer timer) override { return enabled_.count(timer) != 0; }
    void DoEvents() override {
        log_.Add("Host.DoEvents()");
        ++doEventsCalls;
        if (onDoEvents) onDoEvents(doEventsCalls);
    }
    void Unload() override { log_.Add("Host.Unload()"); }

  private:
    static const char* Name(SaverTimer timer) { return timer == SaverTimer::Timer1 ? "Timer1" : "Timer2"; }
    CallLog& log_;
    std::set<SaverTimer> enabled_;
};

class FakePreviewHost final : public PreviewHost {
  public:
    explicit FakePreviewHost(CallLog& log) : log_(log) {}

    Hwnd window = 0x7E7E;
    double twipsPerPixelX = 15.0;
    double twipsPerPixelY = 15.0;

    Hwnd Load() override {
        log_.Add("Host.Load()");
        return window;
    }
    double TwipsPerPixelX() override { return twipsPerPixelX; }
    double TwipsPerPixelY() override { return twipsPerPixelY; }
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override {
        log_.Add(Call("Host.Move", left, top, width, height));
    }
    void MoveImage(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override {
        log_.Add(Call("Host.MoveImage", left, top, width, height));
    }
    void Show() override { log_.Add("Host.Show()"); }

  private:
    CallLog& log_;
};

// An effect that only records what the saver window asks of it.
class RecordingEffect final : public Pelluna_C2 {
  public:
    explicit RecordingEffect(CallLog& log) : log_(log) {}

    bool constructResult = true;
    bool wantsTransition = true;

    bool Construct(std::int32_t nWidth, std::int32_t nHeight, bool& bUseTransition) override {
        log_.Add(Call("Effect.Construct", nWidth, nHeight));
        bUseTransition = wantsTransition;
        return constructResult;
    }
    void Destruct() override { log_.Add("Effect.Destruct()"); }
    void Tick(std::int32_t nElapsedMs) override { log_.Add(Call("Effect.Tick", nElapsedMs)); }
    bool DrawTransitionMask(Hdc hDC) override {
        log_.Add(Call("Effect.DrawTransitionMask", hDC));
        return false;
    }
    void EraseBackground(Hdc hDC) override { log_.Add(Call("Effect.EraseBackground", hDC)); }
    void DrawCurrentFrame(Hdc hDC) override { log_.Add(Call("Effect.DrawCurrentFrame", hDC)); }

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
