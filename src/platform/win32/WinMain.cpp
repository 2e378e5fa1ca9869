// The Windows entry point: real ports, the mode windows, and a message loop for the preview.
#include "platform/win32/WindowsApi.h"

#include "platform/win32/Win32Ports.h"
#include "startup/Main.h"

namespace {

// The mode windows. Until they exist each mode ends the process straight away.
class Win32ModeEntries final : public pelluna::ModeEntries {
  public:
    void ShowPreview(std::int32_t) override {}
    void ShowSettingsDialog() override {}
    void LoadSaverWindow() override {}
};

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    pelluna::win32::Win32Platform platform;
    Win32ModeEntries modes;
    const pelluna::Platform ports = platform.Ports();
    pelluna::Main(platform.text.FromAnsi(commandLine ? commandLine : ""), ports, modes);
    return 0;
}
