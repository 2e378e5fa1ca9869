// The real saver window: a borderless black popup whose messages go to the portable Pelluna_S.
#include "windows/SaverWindow.h"

#include <cstring>

#include "platform/win32/HandleCast.h"
#include "startup/WindowTitles.h"
#include "windows/WindowClass.h"

namespace pelluna::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PellunaSaverWindow";
constexpr UINT_PTR kTimerIds[] = {1, 2};
constexpr UINT kTimerIntervalsMs[] = {1000, 200};

std::size_t TimerIndex(SaverTimer timer) {
    return timer == SaverTimer::Timer1 ? 0 : 1;
}

}  // namespace

SaverWindow::SaverWindow(HINSTANCE instance, Text& text) {
    // An own DC lets every frame go to the window through the same device context.
    RegisterBlackWindowClass(instance, kClassName, DefWindowProcW, CS_OWNDC);
    const std::string title = text.ToAnsi(kSaverWindowTitle);
    window_ = ::CreateWindowExA(0, "PellunaSaverWindow", title.c_str(), WS_POPUP, 0, 0, 640, 480, nullptr,
                                nullptr, instance, nullptr);
    if (window_ == nullptr) return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SaverWindow::WindowProc));
    dc_ = ::GetDC(window_);
    displayNotify_ =
        ::RegisterPowerSettingNotification(window_, &GUID_CONSOLE_DISPLAY_STATE, DEVICE_NOTIFY_WINDOW_HANDLE);
}

SaverWindow::~SaverWindow() {
    Unload();
}

LRESULT CALLBACK SaverWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SaverWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr || self->logic_ == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
    return self->HandleMessage(message, wParam, lParam);
}

LRESULT SaverWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        // A click is a button going down and coming up on the window; neither half alone counts.
        case WM_LBUTTONDOWN:
        case WM_RBUTTONDOWN:
        case WM_MBUTTONDOWN:
            buttonDown_ = true;
            return 0;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
            if (buttonDown_) logic_->Click();
            return 0;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN: {
            const auto shift = static_cast<std::int16_t>((::GetKeyState(VK_SHIFT) < 0 ? 1 : 0) |
                                                         (::GetKeyState(VK_CONTROL) < 0 ? 2 : 0) |
                                                         (::GetKeyState(VK_MENU) < 0 ? 4 : 0));
            logic_->KeyDown(static_cast<std::int16_t>(wParam & 0xFFFF), shift);
            return 0;
        }
        case WM_TIMER:
            if (wParam == kTimerIds[0] && timerEnabled_[0]) logic_->Timer1Tick();
            if (wParam == kTimerIds[1] && timerEnabled_[1]) logic_->Timer2Tick();
            return 0;
        case WM_DISPLAYCHANGE:
            logic_->DisplayChange();
            return 0;
        case WM_POWERBROADCAST: {
            const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
            if (wParam == PBT_POWERSETTINGCHANGE && setting != nullptr &&
                setting->PowerSetting == GUID_CONSOLE_DISPLAY_STATE && setting->DataLength >= sizeof(DWORD)) {
                DWORD state = 0;
                std::memcpy(&state, setting->Data, sizeof(state));
                logic_->DisplayState(state);
            }
            return TRUE;
        }
        case WM_CLOSE: {
            std::int16_t cancel = 0;
            logic_->QueryUnload(cancel);
            if (cancel == 0) Unload();
            return 0;
        }
        default:
            return ::DefWindowProcW(window_, message, wParam, lParam);
    }
}

Hwnd SaverWindow::hWnd() {
    return FromWin(window_);
}
Hdc SaverWindow::hDC() {
    return FromWin(dc_);
}

void SaverWindow::SetWindowStateNormal() {
    if (::IsIconic(window_) || ::IsZoomed(window_)) ::ShowWindow(window_, SW_RESTORE);
}

void SaverWindow::Move(std::int32_t left, std::int32_t top, std::int32_t width, std::int32_t height) {
    ::MoveWindow(window_, left, top, width, height, TRUE);
}

void SaverWindow::ClientSize(std::int32_t& width, std::int32_t& height) {
    ClientSizeOf(window_, width, height);
}

void SaverWindow::Show() {
    ::ShowWindow(window_, SW_SHOW);
}

void SaverWindow::SetFocus() {
    ::SetForegroundWindow(window_);
    ::SetFocus(window_);
}

void SaverWindow::SetTimerEnabled(SaverTimer timer, bool enabled) {
    const std::size_t index = TimerIndex(timer);
    if (enabled) {
        ::SetTimer(window_, kTimerIds[index], kTimerIntervalsMs[index], nullptr);
    } else {
        ::KillTimer(window_, kTimerIds[index]);
    }
    timerEnabled_[index] = enabled;
}

bool SaverWindow::TimerEnabled(SaverTimer timer) {
    return timerEnabled_[TimerIndex(timer)];
}

void SaverWindow::DoEvents() {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
}

void SaverWindow::Unload() {
    if (window_ == nullptr) return;
    HWND window = window_;
    window_ = nullptr;
    dc_ = nullptr;
    if (displayNotify_ != nullptr) ::UnregisterPowerSettingNotification(displayNotify_);
    displayNotify_ = nullptr;
    ::DestroyWindow(window);
}

}  // namespace pelluna::win32
