// The real ports: one-line forwards to the Win32 API.
#pragma once

#include "platform/CommonDialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"

namespace pelluna::win32 {

// Not final: the frame-rate benchmark forces a refresh rate by overriding EnumDisplaySettingsW.
class Win32User : public User {
  public:
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
};

class Win32Gdi final : public Gdi {
  public:
    Hdc CreateCompatibleDC(Hdc hDC) override;
    Hgdiobj CreateCompatibleBitmap(Hdc hDC, int cx, int cy) override;
    Hgdiobj SelectObject(Hdc hDC, Hgdiobj object) override;
    bool DeleteObject(Hgdiobj object) override;
    bool DeleteDC(Hdc hDC) override;
    Hgdiobj GetStockObject(int index) override;
    Hgdiobj CreatePen(int style, int width, ColorRef color) override;
    bool Rectangle(Hdc hDC, int left, int top, int right, int bottom) override;
    bool Ellipse(Hdc hDC, int left, int top, int right, int bottom) override;
    bool BitBlt(Hdc hDest, int x, int y, int cx, int cy, Hdc hSrc, int x1, int y1,
                std::uint32_t rop) override;
    bool StretchBlt(Hdc hDest, int xDest, int yDest, int wDest, int hDest_, Hdc hSrc, int xSrc, int ySrc,
                    int wSrc, int hSrc_, std::uint32_t rop) override;
    bool GradientFill(Hdc hDC, const TriVertex* vertices, std::uint32_t nVertex, const GradientRect* mesh,
                      std::uint32_t nMesh, std::uint32_t mode) override;
};

class Win32Kernel final : public Kernel {
  public:
    std::wstring GetModuleFileNameW() override;
    std::wstring GetShortPathNameW(const std::wstring& longPath) override;
    std::uint32_t GetPrivateProfileStringA(const char* appName, const char* keyName, const char* defaultText,
                                           char* returned, std::uint32_t size, const char* fileName) override;
    bool WritePrivateProfileStringA(const char* appName, const char* keyName, const char* text,
                                    const char* fileName) override;
    Handle CreateFileA(const char* fileName, std::uint32_t desiredAccess, std::uint32_t shareMode,
                       std::uint32_t creationDisposition) override;
    bool CloseHandle(Handle handle) override;
    std::uint32_t GetFileAttributesW(const std::wstring& fileName) override;
    int MulDiv(int number, int numerator, int denominator) override;
    Handle CreateMutexA(void* attributes, bool initialOwner, const char* name) override;
    Handle OpenMutexA(std::uint32_t desiredAccess, bool inheritHandle, const char* name) override;
    std::uint32_t GetLastError() override;
    std::uint32_t FormatMessageW(std::uint32_t flags, const void* source, std::uint32_t messageId,
                                 std::uint32_t languageId, wchar_t* buffer, std::uint32_t size) override;
    std::uint16_t GetUserDefaultUILanguage() override;
    std::uint32_t GetACP() override;
    void Sleep(std::uint32_t dwMilliseconds) override;
    [[noreturn]] void ExitProcess(std::uint32_t exitCode) override;
};

class Win32Text final : public Text {
  public:
    int WideCharToMultiByte(std::uint32_t codePage, std::uint32_t flags, const wchar_t* wide, int wideLength,
                            char* bytes, int byteLength, const char* defaultChar,
                            bool* usedDefaultChar) override;
    int MultiByteToWideChar(std::uint32_t codePage, std::uint32_t flags, const char* bytes, int byteLength,
                            wchar_t* wide, int wideLength) override;
};

class Win32Clock final : public Clock {
  public:
    std::uint32_t timeGetTime() override;
    std::uint32_t timeBeginPeriod(std::uint32_t period) override;
    std::uint32_t timeEndPeriod(std::uint32_t period) override;
    double SecondsSinceMidnight() override;
    std::int32_t DwmIsCompositionEnabled(bool& enabled) override;
    std::int32_t DwmFlush() override;
};

class Win32Mci final : public Mci {
  public:
    std::uint32_t mciSendStringA(const char* command, char* returnString, std::uint32_t returnLength,
                                 Hwnd hwndCallback) override;
    bool mciGetErrorStringA(std::uint32_t error, char* text, std::uint32_t length) override;
    std::uint32_t waveOutGetNumDevs() override;
    bool PlaySoundA(const char* sound, Handle hModule, std::uint32_t flags) override;
};

class Win32CommonDialogs final : public CommonDialogs {
  public:
    std::int32_t GetOpenFileNameA(OpenFileNameA& ofn) override;
};

class Win32Shell final : public Shell {
  public:
    Handle ShellExecuteA(Hwnd hWnd, const char* operation, const char* file, const char* parameters,
                         const char* directory, int showCmd) override;
    std::wstring SHGetFolderPathW(Hwnd hwnd, int csidl, Handle token, std::uint32_t flags) override;
};

// All real ports of the process, alive as long as it.
struct Win32Platform {
    Win32User user;
    Win32Gdi gdi;
    Win32Kernel kernel;
    Win32Text text;
    Win32Clock clock;
    Win32Mci mci;
    Win32CommonDialogs dialogs;
    Win32Shell shell;
    Platform Ports() { return Platform{user, gdi, kernel, text, clock, mci}; }
};

}  // namespace pelluna::win32
