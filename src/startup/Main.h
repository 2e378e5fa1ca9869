// The program's entry point: single-instance guard, mode dispatch, and the system screen-saver flag.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/Platform.h"

namespace pelluna {

// The windows that the modes open. Each mode's issue of the program provides its own.
class ModeEntries {
  public:
    virtual ~ModeEntries() = default;
    virtual void ShowPreview(std::int32_t hHost) = 0;
    // Shows the settings dialog modally; returns when it has closed.
    virtual void ShowSettingsDialog() = 0;
    // Loads the saver window, whose load handler carries the whole run.
    virtual void LoadSaverWindow() = 0;
};

// The second character of the upper-cased command line; 0 when there is none.
wchar_t ModeLetter(std::wstring_view commandLine);

// The preview box's handle: the number that starts at the fourth character, of which only the low 32 bits
// count (sign-extended); 0 when there is none.
std::int32_t PreviewHandle(std::wstring_view commandLine);

// commandLine: the arguments as Windows hands them to WinMain, without the program path.
void Main(std::wstring_view commandLine, const Platform& platform, ModeEntries& modes);

}  // namespace pelluna
