// Portable stand-ins for the Win32 types and constants that the logic hands to the ports.
#pragma once

#include <cstdint>
#include <string>

namespace pelluna {

// Window, device-context and GDI-object handles. Pointer-sized, as on 64-bit Windows; 0 is "none".
using Hwnd = std::uintptr_t;
using Hdc = std::uintptr_t;
using Hgdiobj = std::uintptr_t;
using Handle = std::uintptr_t;
using Hmonitor = std::uintptr_t;

using ColorRef = std::uint32_t;  // red in the low byte, then green, then blue

constexpr ColorRef Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
}

struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// What GetMonitorInfoW reports of a monitor (MONITORINFO without its size field, which the adapter fills):
// its rectangle and work area in virtual-screen coordinates, and MONITORINFOF_PRIMARY for the primary.
struct MonitorInfo {
    Rect rcMonitor;
    Rect rcWork;
    std::uint32_t dwFlags = 0;
    friend bool operator==(const MonitorInfo&, const MonitorInfo&) = default;
};

// MONITORINFOEXW: the same and the name of the monitor's display device, which EnumDisplaySettingsW takes.
struct MonitorInfoEx : MonitorInfo {
    std::wstring szDevice;
};

// The part of a display mode (DEVMODEW) that the program reads: the refresh rate in hertz, where 0 and 1
// stand for the hardware's default rate.
struct DisplayMode {
    std::uint32_t dmDisplayFrequency = 0;
};

// EnumDisplayMonitors' callback (MONITORENUMPROC): non-zero goes on to the next monitor.
using MonitorEnumProc = int (*)(Hmonitor hMonitor, Hdc hdcMonitor, Rect* lprcMonitor, std::intptr_t dwData);

// A corner of a colour gradient (TRIVERTEX): position in pixels, channels of 16 bits whose high byte is
// the colour byte.
struct TriVertex {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint16_t Red = 0;
    std::uint16_t Green = 0;
    std::uint16_t Blue = 0;
    std::uint16_t Alpha = 0;
    friend bool operator==(const TriVertex&, const TriVertex&) = default;
};

// A gradient rectangle (GRADIENT_RECT) given by the indexes of two vertices.
struct GradientRect {
    std::uint32_t UpperLeft = 0;
    std::uint32_t LowerRight = 0;
    friend bool operator==(const GradientRect&, const GradientRect&) = default;
};

// Win32 constants under their own names and values (checked against <windows.h> in the Windows build).
namespace win {

// SystemParametersInfoA actions
constexpr std::uint32_t SPI_SETSCREENSAVEACTIVE = 17;
constexpr std::uint32_t SPI_SETSCREENSAVERRUNNING = 97;

// Window styles and positions
constexpr int GWL_STYLE = -16;
constexpr std::uint32_t WS_CHILD = 0x40000000;
constexpr Hwnd HWND_TOPMOST = static_cast<Hwnd>(-1);
constexpr std::uint32_t SWP_NOSIZE = 0x0001;
constexpr std::uint32_t SWP_NOMOVE = 0x0002;
constexpr std::uint32_t SWP_NOACTIVATE = 0x0010;
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_XVIRTUALSCREEN = 76;
constexpr int SM_YVIRTUALSCREEN = 77;
constexpr int SM_CXVIRTUALSCREEN = 78;
constexpr int SM_CYVIRTUALSCREEN = 79;
constexpr int SM_REMOTESESSION = 0x1000;
constexpr std::uint32_t MONITORINFOF_PRIMARY = 0x00000001;
constexpr std::uint32_t MONITOR_DEFAULTTOPRIMARY = 0x00000001;
constexpr std::uint32_t MONITOR_DEFAULTTONEAREST = 0x00000002;
constexpr int IDANI_CAPTION = 3;
constexpr int SW_SHOWNORMAL = 1;
constexpr std::uint32_t ENUM_CURRENT_SETTINGS = 0xFFFFFFFF;

// Waits
constexpr std::uint32_t INFINITE = 0xFFFFFFFF;
constexpr std::uint32_t WAIT_OBJECT_0 = 0;
constexpr std::uint32_t WAIT_TIMEOUT = 258;
constexpr std::uint32_t WAIT_FAILED = 0xFFFFFFFF;
// As headers for Windows 8 and later spell it, with the touch and pointer input that Windows 8 added.
constexpr std::uint32_t QS_ALLINPUT = 0x1CFF;
constexpr std::uint32_t QS_TOUCH = 0x0800;
constexpr std::uint32_t QS_POINTER = 0x1000;
constexpr std::uint32_t MWMO_INPUTAVAILABLE = 0x0004;

// Power-setting notifications' values: mains (SYSTEM_POWER_CONDITION), energy saver off
// (ENERGY_SAVER_STATUS, Windows 11 24H2; not in MinGW's headers, so not checked)
constexpr std::uint32_t PoAc = 0;
constexpr std::uint32_t ENERGY_SAVER_OFF = 0;

// GDI
constexpr std::uint32_t SRCCOPY = 0x00CC0020;
constexpr int PS_SOLID = 0;
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr std::uint32_t GRADIENT_FILL_RECT_V = 1;
constexpr int COLOR_BTNFACE = 15;

// Code pages
constexpr std::uint32_t CP_ACP = 0;
constexpr std::uint32_t CP_UTF8 = 65001;

// Files
constexpr std::uint32_t GENERIC_READ = 0x80000000;
constexpr std::uint32_t FILE_SHARE_READ = 0x00000001;
constexpr std::uint32_t OPEN_EXISTING = 3;
constexpr Handle INVALID_HANDLE_VALUE = static_cast<Handle>(-1);
constexpr std::uint32_t INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr std::uint32_t FILE_ATTRIBUTE_DIRECTORY = 0x00000010;
// Shell folders and the file chooser
constexpr int CSIDL_MYMUSIC = 0x000D;
constexpr std::uint32_t SHGFP_TYPE_CURRENT = 0;
constexpr std::uint32_t OFN_HIDEREADONLY = 0x00000004;
constexpr std::uint32_t SYNCHRONIZE = 0x00100000;
constexpr std::uint32_t ERROR_ALREADY_EXISTS = 183;
constexpr std::uint32_t FORMAT_MESSAGE_IGNORE_INSERTS = 0x00000200;
constexpr std::uint32_t FORMAT_MESSAGE_FROM_SYSTEM = 0x00001000;

// Message boxes
constexpr std::uint32_t MB_OK = 0x00000000;
constexpr std::uint32_t MB_ICONERROR = 0x00000010;
constexpr std::uint32_t MB_ICONWARNING = 0x00000030;

// Scroll bar requests (horizontal bars)
constexpr int SB_LINELEFT = 0;
constexpr int SB_LINERIGHT = 1;
constexpr int SB_PAGELEFT = 2;
constexpr int SB_PAGERIGHT = 3;
constexpr int SB_THUMBPOSITION = 4;
constexpr int SB_THUMBTRACK = 5;
constexpr int SB_LEFT = 6;
constexpr int SB_RIGHT = 7;

// Common dialogs: the size of the ANSI file-open structure without the fields added in Windows 2000
// (76 bytes in a 32-bit program, 136 in a 64-bit one)
constexpr std::uint32_t OPENFILENAME_SIZE_VERSION_400A = sizeof(void*) == 8 ? 136 : 76;

// Sound
constexpr std::uint32_t SND_ASYNC = 0x0001;
constexpr std::uint32_t SND_NODEFAULT = 0x0002;
constexpr std::uint32_t SND_LOOP = 0x0008;
constexpr std::uint32_t SND_FILENAME = 0x00020000;

// Virtual keys
constexpr int VK_TAB = 9;
constexpr int VK_RETURN = 13;
constexpr int VK_ESCAPE = 27;
constexpr int VK_SPACE = 32;
constexpr int VK_LEFT = 37;
constexpr int VK_UP = 38;
constexpr int VK_RIGHT = 39;
constexpr int VK_DOWN = 40;
}  // namespace win

}  // namespace pelluna
