// Recording fake of the user32 port, with scripted answers.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "CallLog.h"
#include "platform/User.h"

namespace pelluna::testing {

class FakeUser final : public User {
  public:
    explicit FakeUser(CallLog& log) : log_(log) {}

    // Scripted answers.
    std::map<std::string, Hwnd> windowsByTitle;  // ANSI title bytes -> window
    std::set<Hwnd> windows;                      // handles that IsWindow accepts
    std::map<Hwnd, Rect> windowRects;
    std::map<Hwnd, Rect> clientRects;
    std::map<Hwnd, std::int32_t> windowLongs;
    int showCursorResult = -1;
    int screenWidth = 1920;
    int screenHeight = 1080;
    int remoteSession = 0;  // what SM_REMOTESESSION answers
    Hwnd desktopWindow = 0x10010;
    Hdc nextDC = 0xDC01;
    Hwnd setParentResult = 0;
    bool setWindowPosResult = true;
    bool getCursorPosResult = true;
    Point cursorPos;
    std::map<std::pair<std::int32_t, std::int32_t>, Hwnd> windowsAtPoint;  // WindowFromPoint; else 0
    // The texts of the message boxes shown, in order.
    std::vector<std::wstring> messageBoxTexts;
    // The desk's monitors, in the order the system lists them: EnumDisplayMonitors, GetMonitorInfoW and the
    // virtual-screen metrics (their bounding rectangle) follow them. One 1920 x 1080 primary by default (the
    // flag 1 is MONITORINFOF_PRIMARY, spelt out since win tests include this after <windows.h>).
    std::vector<MonitorInfo> monitors{{{0, 0, 1920, 1080}, {0, 0, 1920, 1040}, 1}};
    // Each monitor's refresh rate by its device name ("0", "1", ...: its place); 0 where none is given, as
    // under Wine. A timed wait lets its time pass on waitClock; a wait without end ends with a message.
    std::vector<std::uint32_t> refreshRates;
    std::uint32_t* waitClock = nullptr;
    int failingWaits = 0;  // so many of the next waits fail (WAIT_FAILED)
    // The handle of monitors[index].
    static Hmonitor MonitorHandle(std::size_t index) { return 0x3001 + static_cast<Hmonitor>(index); }

    Hwnd FindWindowA(const char* className, const std::string& title) override;
    int ShowCursor(int bShow) override;
    int SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam, void* pvParam,
                              std::uint32_t fWinIni) override;
    int GetSystemMetrics(int index) override;
    bool IsWindow(Hwnd hWnd) override;
    Hwnd GetDesktopWindow() override;
    Hdc GetDC(Hwnd hWnd) override;
    int ReleaseDC(Hwnd hWnd, Hdc hDC) override;
    bool GetClientRect(Hwnd hWnd, Rect& rect) override;
    bool GetWindowRect(Hwnd hWnd, Rect& rect) override;
    std::int32_t GetWindowLongA(Hwnd hWnd, int index) override;
    std::int32_t SetWindowLongA(Hwnd hWnd, int index, std::int32_t newLong) override;
    Hwnd SetParent(Hwnd hWndChild, Hwnd hWndNewParent) override;
    bool SetWindowPos(Hwnd hWnd, Hwnd hWndInsertAfter, int x, int y, int cx, int cy,
                      std::uint32_t flags) override;
    bool GetCursorPos(Point& point) override;
    Hwnd WindowFromPoint(Point point) override;
    bool DrawAnimatedRects(Hwnd hWnd, int idAni, const Rect& from, const Rect& to) override;
    int MessageBoxW(Hwnd hWnd, const std::wstring& text, const std::wstring& caption,
                    std::uint32_t type) override;
    // The brush of a system colour: 0x5C00 + index.
    static Hgdiobj SysColorBrush(int index) { return 0x5C00 + static_cast<Hgdiobj>(index); }
    Hgdiobj GetSysColorBrush(int index) override;
    int FillRect(Hdc hDC, const Rect& rect, Hgdiobj brush) override;
    bool EnumDisplayMonitors(Hdc hdc, const Rect* lprcClip, MonitorEnumProc lpfnEnum,
                             std::intptr_t dwData) override;
    bool GetMonitorInfoW(Hmonitor hMonitor, MonitorInfoEx& info) override;
    Hmonitor MonitorFromPoint(Point pt, std::uint32_t dwFlags) override;
    bool EnumDisplaySettingsW(const wchar_t* lpszDeviceName, std::uint32_t iModeNum,
                              DisplayMode& mode) override;
    std::uint32_t MsgWaitForMultipleObjectsEx(std::uint32_t nCount, const Handle* pHandles,
                                              std::uint32_t dwMilliseconds, std::uint32_t dwWakeMask,
                                              std::uint32_t dwFlags) override;

  private:
    CallLog& log_;
};

}  // namespace pelluna::testing
