// Port over the user32 calls the program makes: window search, styles, parenting, cursor, screen flags,
// monitors and the wait for messages.
#pragma once

#include <cstdint>
#include <string>

#include "platform/types.h"

namespace pelluna {

class User {
  public:
    virtual ~User() = default;

    // className null means "any class"; title is ANSI text.
    virtual Hwnd FindWindowA(const char* className, const std::string& title) = 0;
    virtual int ShowCursor(int bShow) = 0;
    virtual int SystemParametersInfoA(std::uint32_t action, std::uint32_t uiParam, void* pvParam,
                                      std::uint32_t fWinIni) = 0;
    virtual int GetSystemMetrics(int index) = 0;
    virtual bool IsWindow(Hwnd hWnd) = 0;
    virtual Hwnd GetDesktopWindow() = 0;
    virtual Hdc GetDC(Hwnd hWnd) = 0;
    virtual int ReleaseDC(Hwnd hWnd, Hdc hDC) = 0;
    virtual bool GetClientRect(Hwnd hWnd, Rect& rect) = 0;
    virtual bool GetWindowRect(Hwnd hWnd, Rect& rect) = 0;
    virtual std::int32_t GetWindowLongA(Hwnd hWnd, int index) = 0;
    virtual std::int32_t SetWindowLongA(Hwnd hWnd, int index, std::int32_t newLong) = 0;
    virtual Hwnd SetParent(Hwnd hWndChild, Hwnd hWndNewParent) = 0;
    virtual bool SetWindowPos(Hwnd hWnd, Hwnd hWndInsertAfter, int x, int y, int cx, int cy,
                              std::uint32_t flags) = 0;
    // The pointer's position in screen coordinates; point is left alone when the call fails.
    virtual bool GetCursorPos(Point& point) = 0;
    virtual Hwnd WindowFromPoint(Point point) = 0;
    virtual bool DrawAnimatedRects(Hwnd hWnd, int idAni, const Rect& from, const Rect& to) = 0;
    // A modal message box owned by hWnd; the button pressed.
    virtual int MessageBoxW(Hwnd hWnd, const std::wstring& text, const std::wstring& caption,
                            std::uint32_t type) = 0;
    // A system colour's brush; it belongs to the system and is never deleted.
    virtual Hgdiobj GetSysColorBrush(int index) = 0;
    virtual int FillRect(Hdc hDC, const Rect& rect, Hgdiobj brush) = 0;
    // Calls lpfnEnum for each monitor that meets hdc and lprcClip (both null: every monitor of the desk).
    virtual bool EnumDisplayMonitors(Hdc hdc, const Rect* lprcClip, MonitorEnumProc lpfnEnum,
                                     std::intptr_t dwData) = 0;
    virtual bool GetMonitorInfoW(Hmonitor hMonitor, MonitorInfoEx& info) = 0;
    // The monitor that holds the point; off every monitor, the one dwFlags names (MONITOR_DEFAULTTO...).
    virtual Hmonitor MonitorFromPoint(Point pt, std::uint32_t dwFlags) = 0;
    virtual bool EnumDisplaySettingsW(const wchar_t* lpszDeviceName, std::uint32_t iModeNum,
                                      DisplayMode& mode) = 0;
    // Waits for the handles (none here), a message of the kinds in wakeMask, or the time to pass: which
    // came first (WAIT_OBJECT_0 + nCount for a message, WAIT_TIMEOUT for the time).
    virtual std::uint32_t MsgWaitForMultipleObjectsEx(std::uint32_t nCount, const Handle* pHandles,
                                                      std::uint32_t dwMilliseconds, std::uint32_t dwWakeMask,
                                                      std::uint32_t dwFlags) = 0;
};

}  // namespace pelluna
