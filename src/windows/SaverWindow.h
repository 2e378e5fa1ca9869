// The real saver window: a borderless black popup whose messages go to the portable Pelluna_S.
#pragma once

#include "platform/Text.h"
#include "platform/win32/WindowsApi.h"
#include "saver/Pelluna_S.h"
#include "saver/SaverHost.h"

namespace pelluna::win32 {

class SaverWindow final : public SaverHost {
  public:
    // Creates the window hidden, titled with the saver's title in the ANSI code page.
    SaverWindow(HINSTANCE instance, Text& text);
    ~SaverWindow() override;
    SaverWindow(const SaverWindow&) = delete;
    SaverWindow& operator=(const SaverWindow&) = delete;

    // The handlers that the window's messages reach; set before the load handler runs.
    void Attach(Pelluna_S& logic) { logic_ = &logic; }

    Hwnd hWnd() override;
    Hdc hDC() override;
    void SetWindowStateNormal() override;
    void Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) override;
    void ClientSize(std::int32_t& width, std::int32_t& height) override;
    void Show() override;
    void SetFocus() override;
    void SetTimerEnabled(SaverTimer timer, bool enabled) override;
    bool TimerEnabled(SaverTimer timer) override;
    void DoEvents() override;
    void Unload() override;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
    HDC dc_ = nullptr;  // the class's own DC: valid for the window's life, never released
    // The power settings' notifications (the session's and the console's display state, the power source,
    // battery saver, energy saver) come to the window while these are registered, and the session's changes
    // while sessionNotify_ is set.
    HPOWERNOTIFY powerNotifies_[5] = {};
    bool sessionNotify_ = false;
    Pelluna_S* logic_ = nullptr;
    bool timerEnabled_[2] = {false, false};
    bool buttonDown_ = false;
};

}  // namespace pelluna::win32
