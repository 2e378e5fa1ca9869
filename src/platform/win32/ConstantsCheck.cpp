// Keeps the portable copies of Win32 constants equal to the real ones.
#include "platform/types.h"

#include <cstddef>

// The constants checked: captured under other names first, since <windows.h> makes their names macros.
// clang-format off
#define PELLUNA_WIN32_CONSTANTS(X) \
    X(SPI_SETSCREENSAVEACTIVE) \
    X(SPI_SETSCREENSAVERRUNNING) \
    X(GWL_STYLE) \
    X(WS_CHILD) \
    X(SWP_NOSIZE) \
    X(SWP_NOMOVE) \
    X(SWP_NOACTIVATE) \
    X(SM_CXSCREEN) \
    X(SM_CYSCREEN) \
    X(SM_XVIRTUALSCREEN) \
    X(SM_YVIRTUALSCREEN) \
    X(SM_CXVIRTUALSCREEN) \
    X(SM_CYVIRTUALSCREEN) \
    X(SM_REMOTESESSION) \
    X(PoAc) \
    X(MONITORINFOF_PRIMARY) \
    X(MONITOR_DEFAULTTOPRIMARY) \
    X(MONITOR_DEFAULTTONEAREST) \
    X(IDANI_CAPTION) \
    X(SW_SHOWNORMAL) \
    X(ENUM_CURRENT_SETTINGS) \
    X(INFINITE) \
    X(WAIT_OBJECT_0) \
    X(WAIT_TIMEOUT) \
    X(WAIT_FAILED) \
    X(QS_ALLINPUT) \
    X(QS_TOUCH) \
    X(QS_POINTER) \
    X(MWMO_INPUTAVAILABLE) \
    X(SRCCOPY) \
    X(PS_SOLID) \
    X(WHITE_BRUSH) \
    X(BLACK_BRUSH) \
    X(NULL_BRUSH) \
    X(WHITE_PEN) \
    X(BLACK_PEN) \
    X(GENERIC_READ) \
    X(FILE_SHARE_READ) \
    X(OPEN_EXISTING) \
    X(SYNCHRONIZE) \
    X(ERROR_ALREADY_EXISTS) \
    X(SND_ASYNC) \
    X(SND_NODEFAULT) \
    X(SND_LOOP) \
    X(SND_FILENAME) \
    X(VK_TAB) \
    X(VK_RETURN) \
    X(VK_ESCAPE) \
    X(VK_SPACE) \
    X(VK_LEFT) \
    X(VK_UP) \
    X(VK_DOWN) \
    X(FORMAT_MESSAGE_IGNORE_INSERTS) \
    X(FORMAT_MESSAGE_FROM_SYSTEM) \
    X(MB_OK) \
    X(MB_ICONERROR) \
    X(MB_ICONWARNING) \
    X(SB_LINELEFT) \
    X(SB_LINERIGHT) \
    X(SB_PAGELEFT) \
    X(SB_PAGERIGHT) \
    X(SB_THUMBPOSITION) \
    X(SB_THUMBTRACK) \
    X(SB_LEFT) \
    X(SB_RIGHT) \
    X(VK_RIGHT) \
    X(GRADIENT_FILL_RECT_V) \
    X(CP_ACP) \
    X(CP_UTF8) \
    X(INVALID_FILE_ATTRIBUTES) \
    X(FILE_ATTRIBUTE_DIRECTORY) \
    X(CSIDL_MYMUSIC) \
    X(SHGFP_TYPE_CURRENT) \
    X(OFN_HIDEREADONLY) \
    X(COLOR_BTNFACE)
// clang-format on

namespace portable {
#define PELLUNA_CAPTURE(name) constexpr auto name##_ = pelluna::win::name;
PELLUNA_WIN32_CONSTANTS(PELLUNA_CAPTURE)
#undef PELLUNA_CAPTURE
constexpr auto OPENFILENAME_SIZE_VERSION_400A_ = pelluna::win::OPENFILENAME_SIZE_VERSION_400A;
}  // namespace portable

#include "platform/win32/WindowsApi.h"

#define PELLUNA_CHECK(name) static_assert(portable::name##_ == (name), #name);
PELLUNA_WIN32_CONSTANTS(PELLUNA_CHECK)
#undef PELLUNA_CHECK

// The header spells this size as an expression that is no constant, so it is checked by its definition.
static_assert(portable::OPENFILENAME_SIZE_VERSION_400A_ ==
                  offsetof(OPENFILENAMEA, lpTemplateName) + sizeof(OPENFILENAMEA::lpTemplateName),
              "OPENFILENAME_SIZE_VERSION_400A");
