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
    if (monitors.empty()) return 0;
    Rect desk = monitors.front().rcMonitor;
    for (const MonitorInfo& monitor : monitors) {
        desk.left = std::min(desk.left, monitor.rcMonitor.left);
        desk.top = std::min(desk.top, monitor.rcMonitor.top);
        desk.right = std::max(desk.right, monitor.rcMonitor.right);
        desk.bottom = std::max(desk.bottom, monitor.rcMonitor.bottom);
    }
    switch (index) {
        case win::SM_XVIRTUALSCREEN:
            return desk.left;
        case win::SM_YVIRTUALSCREEN:
            return desk.top;
        case win::SM_CXVIRTUALSCREEN:
            return desk.right - desk.left;
        case win::SM_CYVIRTUALSCREEN:
            return desk.bottom - desk.top;
        default:
            return 0;
    }
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

bool FakeUser::GetMonitorInfoW(Hmonitor hMonitor, MonitorInfo& info) {
    log_.Add(Call("GetMonitorInfoW", hMonitor));
    const std::size_t index = hMonitor - MonitorHandle(0);
    if (hMonitor < MonitorHandle(0) || index >= monitors.size()) return false;
    info = monitors[index];
    return true;
}

}  // namespace pelluna::testing
