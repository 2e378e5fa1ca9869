// Test helper: prints, in UTF-8, the text of each shown top-level window titled as its first argument and
// then of each of its child windows, one a line, as a screen reader finds them by name. With "fit FACE
// POINTS" after it only shown windows, and each button's and label's text followed by the room it needs in
// that font and the room its frame leaves it (a tab, "W H", a tab, "W H"). The font is named because under
// Wine a window's font handle means nothing in another process: the wizards' own, which all but their bold
// titles use.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

static HFONT measure = nullptr;
static bool found = false;

// The room a button or label leaves its text, and how its text is laid out; false for other windows.
static bool TextRoom(HWND window, RECT& room, UINT& format) {
    wchar_t kind[16] = {};
    GetClassNameW(window, kind, 16);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    GetClientRect(window, &room);
    format = DT_CALCRECT | DT_EXPANDTABS;
    if (lstrcmpiW(kind, L"Button") == 0) {
        const LONG type = style & BS_TYPEMASK;
        if (type == BS_GROUPBOX)
            InflateRect(&room, -8, 0);
        else if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON)
            InflateRect(&room, -3, -3);  // edge and focus
        else
            room.left += GetSystemMetrics(SM_CXMENUCHECK) + 3;  // check box or radio button
        format |= (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
        return true;
    }
    const LONG type = style & SS_TYPEMASK;
    if (lstrcmpiW(kind, L"Static") != 0 || (type > SS_RIGHT && type != SS_LEFTNOWORDWRAP)) return false;
    format |= (type == SS_LEFTNOWORDWRAP ? DT_SINGLELINE : DT_WORDBREAK) |
              ((style & SS_NOPREFIX) ? DT_NOPREFIX : 0);
    return true;
}

static BOOL CALLBACK PrintText(HWND window, LPARAM) {
    if (measure && !IsWindowVisible(window)) return TRUE;
    wchar_t text[1024] = {};
    char utf8[4096] = {};
    const int length = GetWindowTextW(window, text, 1024);
    WideCharToMultiByte(CP_UTF8, 0, text, length, utf8, sizeof utf8 - 1, nullptr, nullptr);
    std::printf("%s", utf8);
    RECT room{};
    UINT format = 0;
    if (measure && length > 0 && GetParent(window) != nullptr && TextRoom(window, room, format)) {
        RECT need{0, 0, room.right - room.left, 0};
        HDC dc = GetDC(window);
        HGDIOBJ font = SelectObject(dc, measure);
        DrawTextW(dc, text, length, &need, format);
        SelectObject(dc, font);
        ReleaseDC(window, dc);
        std::printf("\t%ld %ld\t%ld %ld", need.right, need.bottom, room.right - room.left,
                    room.bottom - room.top);
    }
    std::printf("\n");
    return TRUE;
}

static BOOL CALLBACK PrintTitled(HWND window, LPARAM title) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    if (IsWindowVisible(window) && lstrcmpW(text, reinterpret_cast<const wchar_t*>(title)) == 0) {
        found = true;
        PrintText(window, 0);
        EnumChildWindows(window, PrintText, 0);
    }
    return TRUE;
}

int wmain(int argc, wchar_t** argv) {
    if (argc > 4 && lstrcmpW(argv[2], L"fit") == 0) {
        HDC screen = GetDC(nullptr);
        measure = CreateFontW(-MulDiv(_wtoi(argv[4]), GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0,
                              FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, argv[3]);
        ReleaseDC(nullptr, screen);
    }
    EnumWindows(PrintTitled, reinterpret_cast<LPARAM>(argc > 1 ? argv[1] : L""));
    std::fflush(stdout);
    return found ? 0 : 1;
}
