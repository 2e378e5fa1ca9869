// The real saver window: a borderless black popup whose messages go to the portable Pelluna_S.
#include "windows/SaverWindow.h"

#include <wtsapi32.h>

#include <cstring>

#include "platform/win32/HandleCast.h"
#include "saver/SaverMode.h"
#include "windows/WindowClass.h"

namespace pelluna::win32 {
namespace {

constexpr wchar_t kClassName[] = L"PellunaSaverWindow";
constexpr UINT_PTR kTimerIds[] = {1, 2};
constexpr UINT kTimerIntervalsMs[] = {1000, 200};

// Not in MinGW's headers: the values of the Windows SDK's winnt.h.
constexpr GUID GUID_POWER_SAVING_STATUS = {
    0xE00958C0, 0xC213, 0x4ACE, {0xAC, 0x77, 0xFE, 0xCC, 0xED, 0x2E, 0xEE, 0xA5}};
constexpr GUID GUID_ENERGY_SAVER_STATUS = {
    0x550E8400, 0xE29B, 0x41D4, {0xA7, 0x16, 0x44, 0x66, 0x55, 0x44, 0x00, 0x00}};

// The power settings whose notifications reach the saver, each with its handler. A setting the system does
// not know (before Windows 8, 10 or 11) is simply never notified.
struct PowerSetting {
    const GUID* guid;
    void (Pelluna_S::*handler)(std::uint32_t);
};
const PowerSetting kPowerSettings[] = {{&GUID_SESSION_DISPLAY_STATUS, &Pelluna_S::DisplayState},
                                       {&GUID_CONSOLE_DISPLAY_STATE, &Pelluna_S::ConsoleDisplayState},
                                       {&GUID_ACDC_POWER_SOURCE, &Pelluna_S::PowerSource},
                                       {&GUID_POWER_SAVING_STATUS, &Pelluna_S::BatterySaver},
                                       {&GUID_ENERGY_SAVER_STATUS, &Pelluna_S::EnergySaver}};

std::size_t TimerIndex(SaverTimer timer) {
    return timer == SaverTimer::Timer1 ? 0 : 1;
}

}  // namespace

SaverWindow::SaverWindow(HINSTANCE instance, Text& text) {
    // An own DC lets every frame go to the window through the same device context.
    RegisterWindowClass(instance, kClassName, DefWindowProcW,
                        static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)), CS_OWNDC);
    const std::string title = text.ToAnsi(kSaverWindowTitle);
    window_ = ::CreateWindowExA(0, "PellunaSaverWindow", title.c_str(), WS_POPUP, 0, 0, 640, 480, nullptr,
                                nullptr, instance, nullptr);
    if (window_ == nullptr) return;
    ::SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    ::SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SaverWindow::WindowProc));
    dc_ = ::GetDC(window_);
    // Windows sends each setting's value as soon as it is registered, so the pace is right from the start.
    for (std::size_t i = 0; i < std::size(kPowerSettings); ++i) {
        powerNotifies_[i] =
            ::RegisterPowerSettingNotification(window_, kPowerSettings[i].guid, DEVICE_NOTIFY_WINDOW_HANDLE);
    }
    sessionNotify_ = ::WTSRegisterSessionNotification(window_, NOTIFY_FOR_THIS_SESSION) != FALSE;
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
                setting->DataLength >= sizeof(DWORD)) {
                DWORD value = 0;
                std::memcpy(&value, setting->Data, sizeof(value));
                for (const PowerSetting& known : kPowerSettings) {
                    if (setting->PowerSetting == *known.guid) (logic_->*known.handler)(value);
                }
            }
            return TRUE;
        }
        case WM_WTSSESSION_CHANGE:
            logic_->SessionChange();
            return 0;
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
    for (HPOWERNOTIFY& notify : powerNotifies_) {
        if (notify != nullptr) ::UnregisterPowerSettingNotification(notify);
        notify = nullptr;
    }
    if (sessionNotify_) ::WTSUnRegisterSessionNotification(window);
    sessionNotify_ = false;
    ::DestroyWindow(window);
}

}  // namespace pelluna::win32
