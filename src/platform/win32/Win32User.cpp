// user32 forwards.
#include "platform/win32/HandleCast.h"
#include "platform/win32/Win32Ports.h"

namespace pelluna::win32 {
namespace {

Rect RectFrom(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

// Carries the portable callback through the system's one; each monitor's rectangle is handed on.
struct MonitorEnumForward {
    MonitorEnumProc proc;
    std::intptr_t data;
    static BOOL CALLBACK Call(HMONITOR monitor, HDC dc, LPRECT rect, LPARAM self) {
        const auto* forward = reinterpret_cast<const MonitorEnumForward*>(self);
        Rect portable = rect ? RectFrom(*rect) : Rect{};
        return forward->proc(FromWin(monitor), FromWin(dc), &portable, forward->data);
    }
};

}  // namespace

Hwnd Win32User::FindWindowA(const char* className, const std::string& title) {
    return FromWin(::FindWindowA(className, title.c_str()));
}
int Win32User::ShowCursor(int bShow) {
    return ::ShowCursor(bShow);
}
int Win32User::SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam, void* pvParam,
                                     std::uint32_t fWinIni) {
    return ::SystemParametersInfoA(action, uiParam, pvParam, fWinIni);
}
int Win32User::GetSystemMetrics(int index) {
    return ::GetSystemMetrics(index);
}
bool Win32User::IsWindow(Hwnd hWnd) {
    return ::IsWindow(ToWin<HWND>(hWnd)) != FALSE;
}
Hwnd Win32User::GetDesktopWindow() {
    return FromWin(::GetDesktopWindow());
}
Hdc Win32User::GetDC(Hwnd hWnd) {
    return FromWin(::GetDC(ToWin<HWND>(hWnd)));
}
int Win32User::ReleaseDC(Hwnd hWnd, Hdc hDC) {
    return ::ReleaseDC(ToWin<HWND>(hWnd), ToWin<HDC>(hDC));
}

bool Win32User::GetClientRect(Hwnd hWnd, Rect& rect) {
    RECT r{};
    const bool ok = ::GetClientRect(ToWin<HWND>(hWnd), &r) != FALSE;
    if (ok) rect = Rect{r.left, r.top, r.right, r.bottom};
    return ok;
}

bool Win32User::GetWindowRect(Hwnd hWnd, Rect& rect) {
    RECT r{};
    const bool ok = ::GetWindowRect(ToWin<HWND>(hWnd), &r) != FALSE;
    if (ok) rect = Rect{r.left, r.top, r.right, r.bottom};
    return ok;
}

std::int32_t Win32User::GetWindowLongA(Hwnd hWnd, int index) {
    return ::GetWindowLongA(ToWin<HWND>(hWnd), index);
}
std::int32_t Win32User::SetWindowLongA(Hwnd hWnd, int index, std::int32_t newLong) {
    return ::SetWindowLongA(ToWin<HWND>(hWnd), index, newLong);
}
Hwnd Win32User::SetParent(Hwnd hWndChild, Hwnd hWndNewParent) {
    return FromWin(::SetParent(ToWin<HWND>(hWndChild), ToWin<HWND>(hWndNewParent)));
}
bool Win32User::SetWindowPos(Hwnd hWnd, Hwnd hWndInsertAfter, int x, int y, int cx, int cy,
                             std::uint32_t flags) {
    return ::SetWindowPos(ToWin<HWND>(hWnd), ToWin<HWND>(hWndInsertAfter), x, y, cx, cy, flags) != FALSE;
}
bool Win32User::GetCursorPos(Point& point) {
    POINT p{};
    const bool ok = ::GetCursorPos(&p) != FALSE;
    if (ok) point = Point{p.x, p.y};
    return ok;
}
Hwnd Win32User::WindowFromPoint(Point point) {
    return FromWin(::WindowFromPoint(POINT{point.x, point.y}));
}
bool Win32User::DrawAnimatedRects(Hwnd hWnd, int idAni, const Rect& from, const Rect& to) {
    const RECT rectFrom{from.left, from.top, from.right, from.bottom};
    const RECT rectTo{to.left, to.top, to.right, to.bottom};
    return ::DrawAnimatedRects(ToWin<HWND>(hWnd), idAni, &rectFrom, &rectTo) != FALSE;
}
int Win32User::MessageBoxW(Hwnd hWnd, const std::wstring& text, const std::wstring& caption,
                           std::uint32_t type) {
    return ::MessageBoxW(ToWin<HWND>(hWnd), text.c_str(), caption.c_str(), type);
}
Hgdiobj Win32User::GetSysColorBrush(int index) {
    return FromWin(::GetSysColorBrush(index));
}
int Win32User::FillRect(Hdc hDC, const Rect& rect, Hgdiobj brush) {
    const RECT area{rect.left, rect.top, rect.right, rect.bottom};
    return ::FillRect(ToWin<HDC>(hDC), &area, ToWin<HBRUSH>(brush));
}

}  // namespace pelluna::win32

namespace pelluna::win32 {

bool Win32User::EnumDisplayMonitors(Hdc hdc, const Rect* lprcClip, MonitorEnumProc lpfnEnum,
                                    std::intptr_t dwData) {
    const RECT clip =
        lprcClip ? RECT{lprcClip->left, lprcClip->top, lprcClip->right, lprcClip->bottom} : RECT{};
    MonitorEnumForward forward{lpfnEnum, dwData};
    return ::EnumDisplayMonitors(ToWin<HDC>(hdc), lprcClip ? &clip : nullptr, &MonitorEnumForward::Call,
                                 reinterpret_cast<LPARAM>(&forward)) != FALSE;
}
bool Win32User::GetMonitorInfoW(Hmonitor hMonitor, MonitorInfoEx& info) {
    MONITORINFOEXW system{};
    system.cbSize = sizeof(system);
    const bool ok = ::GetMonitorInfoW(ToWin<HMONITOR>(hMonitor), &system) != FALSE;
    if (ok)
        info = MonitorInfoEx{{RectFrom(system.rcMonitor), RectFrom(system.rcWork), system.dwFlags},
                             system.szDevice};
    return ok;
}
Hmonitor Win32User::MonitorFromPoint(Point pt, std::uint32_t dwFlags) {
    return FromWin(::MonitorFromPoint(POINT{pt.x, pt.y}, dwFlags));
}
bool Win32User::EnumDisplaySettingsW(const wchar_t* lpszDeviceName, std::uint32_t iModeNum,
                                     DisplayMode& mode) {
    DEVMODEW system{};
    system.dmSize = sizeof(system);
    const bool ok = ::EnumDisplaySettingsW(lpszDeviceName, iModeNum, &system) != FALSE;
    if (ok) mode = DisplayMode{system.dmDisplayFrequency};
    return ok;
}
std::uint32_t Win32User::MsgWaitForMultipleObjectsEx(std::uint32_t nCount, const Handle* pHandles,
                                                     std::uint32_t dwMilliseconds, std::uint32_t dwWakeMask,
                                                     std::uint32_t dwFlags) {
    return ::MsgWaitForMultipleObjectsEx(nCount, reinterpret_cast<const HANDLE*>(pHandles), dwMilliseconds,
                                         dwWakeMask, dwFlags);
}

}  // namespace pelluna::win32
