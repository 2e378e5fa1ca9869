// Recording fake of the user32 port, with scripted answers.
#include "FakeUser.h"

#include <algorithm>

namespace pelluna::testing {

Hwnd FakeUser::FindWindowA(const char* className, const std::string& title) {
    log_.Add(Call("FindWindowA", Quote(className), Quote(title)));
    const auto found = windowsByTitle.find(title);
    return found == windowsByTitle.end() ? 0 : found->second;
}

int FakeUser::ShowCursor(int bShow) {
    log_.Add(Call("ShowCursor", bShow));
    return showCursorResult;
}

int FakeUser::SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam, void* pvParam,
                                    std::uint32_t fWinIni) {
    log_.Add(Call("SystemParametersInfoA", action, uiParam, static_cast<const void*>(pvParam), fWinIni));
    return 1;
}

int FakeUser::GetSystemMetrics(int index) {
    log_.Add(Call("GetSystemMetrics", index));
    if (index == win::SM_CXSCREEN) return screenWidth;
    if (index == win::SM_CYSCREEN) return screenHeight;
    if (index == win::SM_REMOTESESSION) return remoteSession;
    // The virtual screen: the monitors' bounding rectangle.
    Rect desk = monitors.empty() ? Rect{} : monitors.front().rcMonitor;
    for (const MonitorInfo& m : monitors) {
        desk = Rect{std::min(desk.left, m.rcMonitor.left), std::min(desk.top, m.rcMonitor.top),
                    std::max(desk.right, m.rcMonitor.right), std::max(desk.bottom, m.rcMonitor.bottom)};
    }
    const std::map<int, int> virtualScreen{{win::SM_XVIRTUALSCREEN, desk.left},
                                           {win::SM_YVIRTUALSCREEN, desk.top},
                                           {win::SM_CXVIRTUALSCREEN, desk.right - desk.left},
                                           {win::SM_CYVIRTUALSCREEN, desk.bottom - desk.top}};
    const auto found = virtualScreen.find(index);
    return found == virtualScreen.end() ? 0 : found->second;
}

bool FakeUser::IsWindow(Hwnd hWnd) {
    log_.Add(Call("IsWindow", hWnd));
    return windows.count(hWnd) != 0;
}

Hwnd FakeUser::GetDesktopWindow() {
    log_.Add("GetDesktopWindow()");
    return desktopWindow;
}

Hdc FakeUser::GetDC(Hwnd hWnd) {
    log_.Add(Call("GetDC", hWnd));
    return nextDC;
}

int FakeUser::ReleaseDC(Hwnd hWnd, Hdc hDC) {
    log_.Add(Call("ReleaseDC", hWnd, hDC));
    return 1;
}

bool FakeUser::GetClientRect(Hwnd hWnd, Rect& rect) {
    log_.Add(Call("GetClientRect", hWnd));
    const auto found = clientRects.find(hWnd);
    if (found == clientRects.end()) return false;
    rect = found->second;
    return true;
}

bool FakeUser::GetWindowRect(Hwnd hWnd, Rect& rect) {
    log_.Add(Call("GetWindowRect", hWnd));
    const auto found = windowRects.find(hWnd);
    if (found == windowRects.end()) return false;
    rect = found->second;
    return true;
}

std::int32_t FakeUser::GetWindowLongA(Hwnd hWnd, int index) {
    log_.Add(Call("GetWindowLongA", hWnd, index));
    return windowLongs[hWnd];
}

std::int32_t FakeUser::SetWindowLongA(Hwnd hWnd, int index, std::int32_t newLong) {
    log_.Add(
        Call("SetWindowLongA", hWnd, index, static_cast<std::int64_t>(static_cast<std::uint32_t>(newLong))));
    const std::int32_t previous = windowLongs[hWnd];
    windowLongs[hWnd] = newLong;
    return previous;
}

Hwnd FakeUser::SetParent(Hwnd hWndChild, Hwnd hWndNewParent) {
    log_.Add(Call("SetParent", hWndChild, hWndNewParent));
    return setParentResult;
}

bool FakeUser::SetWindowPos(Hwnd hWnd, Hwnd hWndInsertAfter, int x, int y, int cx, int cy,
                            std::uint32_t flags) {
    log_.Add(Call("SetWindowPos", hWnd,
                  static_cast<std::int64_t>(static_cast<std::intptr_t>(hWndInsertAfter)), x, y, cx, cy,
                  flags));
    return setWindowPosResult;
}

bool FakeUser::GetCursorPos(Point& point) {
    log_.Add("GetCursorPos()");
    if (getCursorPosResult) point = cursorPos;
    return getCursorPosResult;
}

Hwnd FakeUser::WindowFromPoint(Point point) {
    log_.Add(Call("WindowFromPoint", point.x, point.y));
    const auto found = windowsAtPoint.find({point.x, point.y});
    return found == windowsAtPoint.end() ? 0 : found->second;
}

bool FakeUser::DrawAnimatedRects(Hwnd hWnd, int idAni, const Rect& from, const Rect& to) {
    log_.Add(Call("DrawAnimatedRects", hWnd, idAni, from.left, from.top, from.right, from.bottom, to.left,
                  to.top, to.right, to.bottom));
    return true;
}

int FakeUser::MessageBoxW(Hwnd hWnd, const std::wstring& text, const std::wstring& /*caption*/,
                          std::uint32_t type) {
    log_.Add(Call("MessageBoxW", hWnd, type));
    messageBoxTexts.push_back(text);
    return 1;  // IDOK
}

Hgdiobj FakeUser::GetSysColorBrush(int index) {
    log_.Add(Call("GetSysColorBrush", index));
    return SysColorBrush(index);
}

int FakeUser::FillRect(Hdc hDC, const Rect& rect, Hgdiobj brush) {
    log_.Add(Call("FillRect", hDC, rect.left, rect.top, rect.right, rect.bottom, brush));
    return 1;
}

bool FakeUser::EnumDisplayMonitors(Hdc hdc, const Rect* lprcClip, MonitorEnumProc lpfnEnum,
                                   std::intptr_t dwData) {
    log_.Add(Call("EnumDisplayMonitors", hdc, static_cast<const void*>(lprcClip)));
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        Rect rect = monitors[i].rcMonitor;
        if (lpfnEnum(MonitorHandle(i), 0, &rect, dwData) == 0) break;
    }
    return true;
}

Hmonitor FakeUser::MonitorFromPoint(Point pt, std::uint32_t dwFlags) {
    log_.Add(Call("MonitorFromPoint", pt.x, pt.y, dwFlags));
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& r = monitors[i].rcMonitor;
        if (pt.x >= r.left && pt.x < r.right && pt.y >= r.top && pt.y < r.bottom) return MonitorHandle(i);
    }
    return dwFlags != 0 && !monitors.empty() ? MonitorHandle(0) : 0;
}
bool FakeUser::GetMonitorInfoW(Hmonitor hMonitor, MonitorInfoEx& info) {
    log_.Add(Call("GetMonitorInfoW", hMonitor));
    const std::size_t index = hMonitor - MonitorHandle(0);
    if (hMonitor < MonitorHandle(0) || index >= monitors.size()) return false;
    info = MonitorInfoEx{monitors[index], std::wstring(1, static_cast<wchar_t>(L'0' + index))};
    return true;
}

bool FakeUser::EnumDisplaySettingsW(const wchar_t* lpszDeviceName, std::uint32_t iModeNum,
                                    DisplayMode& mode) {
    const std::size_t index = static_cast<std::size_t>(lpszDeviceName[0] - L'0');
    log_.Add(Call("EnumDisplaySettingsW", index, iModeNum));
    mode.dmDisplayFrequency = index < refreshRates.size() ? refreshRates[index] : 0;
    return true;
}

std::uint32_t FakeUser::MsgWaitForMultipleObjectsEx(std::uint32_t nCount, const Handle* pHandles,
                                                    std::uint32_t dwMilliseconds, std::uint32_t dwWakeMask,
                                                    std::uint32_t dwFlags) {
    log_.Add(Call("MsgWaitForMultipleObjectsEx", nCount, static_cast<const void*>(pHandles), dwMilliseconds,
                  dwWakeMask, dwFlags));
    if (failingWaits > 0) return --failingWaits, win::WAIT_FAILED;
    if (dwMilliseconds == win::INFINITE) return win::WAIT_OBJECT_0;
    if (waitClock) *waitClock += dwMilliseconds;
    return win::WAIT_TIMEOUT;
}

}  // namespace pelluna::testing
