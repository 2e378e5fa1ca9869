// Demo host of the Command button: the settings dialog's three buttons, each Click written as a line
// with the button's name to the file named on the command line and shown in a label. Beside that file,
// FILE.layout gives each button's name and place on the screen (left top width height) once it shows.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "common/Numbers.h"
#include "controls/PropertyBag.h"
#include "platform/win32/Win32Ports.h"
#include "windows/CommandButton.h"

namespace {

using pelluna::FontObject;
using pelluna::PropertyBag;
using pelluna::win32::CommandButton;

constexpr wchar_t kTitle[] = L"Pelluna Command demo";
constexpr wchar_t kClass[] = L"PellunaCommandDemo";

// The dialog's font: ＭＳ Ｐゴシック, 9.75 pt, Shift-JIS.
const FontObject kDialogFont{
    L"\xFF2D\xFF33 \xFF30\x30B4\x30B7\x30C3\x30AF", 9.75, 400, false, false, false, 128};

// The three buttons as the dialog places them, in twips: 85 x 25, 85 x 25 and 29 x 25 pixels at 96 dpi.
struct ButtonDesign {
    const char* name;
    const wchar_t* caption;
    int left, top, width, height;
};
constexpr ButtonDesign kButtons[] = {
    {"Cmd_Set", L"\x8A2D\x5B9A", 240, 300, 1275, 375},                     // 設定
    {"Cmd_Can", L"\xFF77\xFF6C\xFF9D\xFF7E\xFF99", 1755, 300, 1275, 375},  // ｷｬﾝｾﾙ
    {"Cmd_BGM", L"...", 3270, 300, 435, 375},
};

LRESULT CALLBACK DemoProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY) ::PostQuitMessage(0);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR commandLine, int) {
    const std::wstring clickFile = commandLine ? commandLine : L"";

    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = DemoProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kClass;
    ::RegisterClassExW(&windowClass);
    // The window and its label are laid out in twips too, so the demo keeps its shape at any resolution.
    const HDC screen = ::GetDC(nullptr);
    const int dpiX = ::GetDeviceCaps(screen, LOGPIXELSX);
    const int dpiY = ::GetDeviceCaps(screen, LOGPIXELSY);
    ::ReleaseDC(nullptr, screen);
    auto px = [](int twips, int dpi) { return ::MulDiv(twips, dpi, 1440); };
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT outer{0, 0, px(4200, dpiX), px(1500, dpiY)};
    ::AdjustWindowRectEx(&outer, style, FALSE, 0);
    HWND window = ::CreateWindowExW(0, kClass, kTitle, style, 100, 100, outer.right - outer.left,
                                    outer.bottom - outer.top, nullptr, nullptr, instance, nullptr);
    HWND clicks =
        ::CreateWindowExW(0, L"STATIC", L"No Click yet", WS_CHILD | WS_VISIBLE, px(240, dpiX), px(900, dpiY),
                          px(3600, dpiX), px(300, dpiY), window, nullptr, instance, nullptr);
    ::SendMessageW(clicks, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    pelluna::win32::Win32Platform platform;
    const pelluna::Platform ports = platform.Ports();
    std::unique_ptr<CommandButton> buttons[3];
    int count = 0;
    for (int i = 0; i < 3; ++i) {
        const ButtonDesign& design = kButtons[i];
        // The stored values of a placed button: its caption and the dialog's font.
        PropertyBag stored;
        stored.WriteProperty(L"Caption", design.caption, L"Command");
        stored.WriteProperty(L"Font", pelluna::FontToText(kDialogFont), L"");
        buttons[i] =
            std::make_unique<CommandButton>(ports, instance, window, 100 + i, design.left, design.top,
                                            design.width, design.height, kDialogFont, &stored);
        buttons[i]->OnClick = [&, name = design.name] {
            ++count;
            if (!clickFile.empty()) {
                if (FILE* file = ::_wfopen(clickFile.c_str(), L"ab")) {
                    std::fprintf(file, "%s\n", name);
                    std::fclose(file);
                }
            }
            const std::wstring text = std::wstring(name, name + std::strlen(name)) + L" Click " +
                                      pelluna::numbers::FormatHashHash(count);
            ::SetWindowTextW(clicks, text.c_str());
        };
    }
    for (auto& button : buttons) button->Logic().Initialize();

    ::ShowWindow(window, SW_SHOW);
    ::UpdateWindow(window);
    if (!clickFile.empty()) {
        if (FILE* layout = ::_wfopen((clickFile + L".layout").c_str(), L"wb")) {
            for (int i = 0; i < 3; ++i) {
                RECT place{};
                ::GetWindowRect(buttons[i]->Window(), &place);
                std::fprintf(layout, "%s %ld %ld %ld %ld\n", kButtons[i].name, place.left, place.top,
                             place.right - place.left, place.bottom - place.top);
            }
            std::fclose(layout);
        }
    }
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
