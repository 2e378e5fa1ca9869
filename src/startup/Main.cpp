// The program's entry point: single-instance guard, mode dispatch, and the system screen-saver flag.
#include "startup/Main.h"

#include "common/Numbers.h"
#include "common/TextRules.h"
#include "saver/SaverMode.h"
#include "settings/SettingsStore.h"
#include "settings/UiTexts.h"

namespace pelluna {

namespace {

constexpr char kSaverOrSettingsMutex[] = "Pelluna_SaverOrSettingsRunning";

// Whether a saver or settings process runs or is starting. With claim, this process becomes that
// process unless another was first (the saver and settings modes); without, it only looks.
bool AnotherSaverOrSettingsRuns(Kernel& kernel, bool claim) {
    if (!claim) return kernel.OpenMutexA(win::SYNCHRONIZE, false, kSaverOrSettingsMutex) != 0;
    // Made or opened in one step, so of two processes started together exactly one is first. The handle
    // is held for the rest of the process and goes with it.
    kernel.CreateMutexA(nullptr, false, kSaverOrSettingsMutex);
    return kernel.GetLastError() == win::ERROR_ALREADY_EXISTS;
}

}  // namespace

wchar_t ModeLetter(std::wstring_view commandLine) {
    return commandLine.size() < 2 ? L'\0' : UpperAscii(commandLine.substr(1, 1)).front();
}

std::int32_t PreviewHandle(std::wstring_view commandLine) {
    if (commandLine.size() < 4) return 0;
    const std::wstring_view text = commandLine.substr(3);
    // Only a handle's low 32 bits count, and the system sign-extends them: a whole number keeps them however
    // it was written (unsigned above 2^31 - 1, or 64 bits wide); any other number is rounded into 32 bits.
    return numbers::ReadLeadingLow32Bits(text).value_or(
        numbers::RoundToInt32(numbers::ReadLeadingNumber(text)).value_or(0));
}

void Main(std::wstring_view commandLine, const Platform& platform, ModeEntries& modes) {
    const wchar_t mode = ModeLetter(commandLine);
    // Explorer's Configure on a .scr, and the older screen-saver tools, start it without arguments and
    // expect the settings, as for "/C" without a parent window.
    const bool settingsMode =
        mode == L'C' || commandLine.find_first_not_of(L" \t") == std::wstring_view::npos;

    // Every search always runs, whatever an earlier one finds: the saver's window, then the settings dialog
    // by its title in each language the program speaks. A window's title appears only once the window
    // exists, so the saver and settings modes also hold a named mutex from their first step on.
    bool found = platform.user.FindWindowA(nullptr, platform.text.ToAnsi(kSaverWindowTitle)) != 0;
    for (const UiLanguage language : kUiLanguages) {
        const std::string title = platform.text.ToAnsi(TextsFor(language).dialogTitle);
        found = platform.user.FindWindowA(nullptr, title) != 0 || found;
    }
    const bool holdsTheMutex = mode == L'S' || settingsMode;
    const bool starting = AnotherSaverOrSettingsRuns(platform.kernel, holdsTheMutex);
    if (found || starting) platform.kernel.ExitProcess(0);

    if (mode == L'P') {
        modes.ShowPreview(PreviewHandle(commandLine));
        return;
    }

    SettingsStore(platform.kernel, platform.text)
        .LoadSettings(settingsMode ? MusicFileCheck::KeepStored : MusicFileCheck::ForThisRun);

    if (settingsMode) {
        modes.ShowSettingsDialog();
        platform.kernel.ExitProcess(0);
    }
    if (mode != L'S') platform.kernel.ExitProcess(0);
    gCursorCount = platform.user.ShowCursor(0);
    EnableSystemKeys(platform.user, 0);
    modes.LoadSaverWindow();
}

}  // namespace pelluna
