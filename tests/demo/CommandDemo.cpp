// Demo host of the Command button: the settings dialog's three buttons, each Click written as a line
// with the button's name to the file named on the command line and shown in a label.
#include "platform/win32/WindowsApi.h"

#include <cstdio>
#include <memory>
#include <string>

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
    HWND window =
        ::CreateWindowExW(0, kClass, kTitle, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 100,
                          100, 320, 140, nullptr, nullptr, instance, nullptr);
    HWND clicks = ::CreateWindowExW(0, L"STATIC", L"No Click yet", WS_CHILD | WS_VISIBLE, 16, 56, 280, 20,
                                    window, nullptr, instance, nullptr);

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
            const std::string text = std::string(name) + " Click " + std::to_string(count);
            ::SetWindowTextA(clicks, text.c_str());
        };
    }
    for (auto& button : buttons) button->Logic().Initialize();

    ::ShowWindow(window, SW_SHOW);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}
