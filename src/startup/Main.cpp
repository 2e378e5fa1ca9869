// The program's entry point: single-instance guard, mode dispatch, and the system screen-saver flag.
#include "startup/Main.h"

#include "common/Numbers.h"
#include "common/TextRules.h"
#include "settings/SettingsStore.h"
#include "startup/WindowTitles.h"

namespace pelluna {

std::int32_t gCursorCount = 0;

wchar_t ModeLetter(std::wstring_view commandLine) {
    return commandLine.size() < 2 ? L'\0' : UpperAscii(commandLine.substr(1, 1)).front();
}

std::int32_t PreviewHandle(std::wstring_view commandLine) {
    if (commandLine.size() < 4) return 0;
    return numbers::RoundToInt32(numbers::ReadLeadingNumber(commandLine.substr(3))).value_or(0);
}

void EnableSystemKeys(User& user, std::int16_t bEnable) {
    // The complement of a 16-bit boolean, widened with its sign: false (0) gives all bits set.
    const auto running = static_cast<std::uint32_t>(static_cast<std::int32_t>(~bEnable));
    user.SystemParametersInfoA(win::SPI_SETSCREENSAVERRUNNING, running, nullptr, 0);
}

void Main(std::wstring_view commandLine, const Platform& platform, ModeEntries& modes) {
    // Both searches always run, whatever the first one finds.
    const Hwnd saver = platform.user.FindWindowA(nullptr, platform.text.ToAnsi(kSaverWindowTitle));
    const Hwnd dialog = platform.user.FindWindowA(nullptr, platform.text.ToAnsi(kSettingsDialogTitle));
    if (saver != 0 || dialog != 0) platform.kernel.ExitProcess(0);

    const wchar_t mode = ModeLetter(commandLine);
    if (mode == L'P') {
        modes.ShowPreview(PreviewHandle(commandLine));
        return;
    }

    SettingsStore(platform.kernel, platform.text).LoadSettings();

    if (mode == L'C') {
        modes.ShowSettingsDialog();
        platform.kernel.ExitProcess(0);
    }
    if (mode != L'S' && !commandLine.empty()) platform.kernel.ExitProcess(0);
    if (mode == L'S') {
        gCursorCount = platform.user.ShowCursor(0);
        EnableSystemKeys(platform.user, 0);
    }
    modes.LoadSaverWindow();
}

}  // namespace pelluna
