// The Windows entry point: real ports, the mode windows, and a message loop for the preview.
#include "platform/win32/WindowsApi.h"

#include <memory>
#include <optional>
#include <string>

#include "effect/Pelluna_C3.h"
#include "music/Pelluna_BGM.h"
#include "platform/win32/Win32Ports.h"
#include "saver/Pelluna_R.h"
#include "saver/Pelluna_S.h"
#include "settings/Pelluna_P.h"
#include "settings/UiTexts.h"
#include "startup/Main.h"
#include "windows/PreviewWindow.h"
#include "windows/SaverWindow.h"
#include "windows/SettingsDialog.h"
#include "windows/SystemDpiScope.h"

namespace pelluna::win32 {
namespace {

// The windows of the three modes, made from the real ports.
class Win32ModeEntries final : public ModeEntries {
  public:
    Win32ModeEntries(HINSTANCE instance, Win32Platform& platform, std::wstring commandLine,
                     const UiTexts& texts)
        : instance_(instance),
          platform_(platform),
          ports_(platform.Ports()),
          commandLine_(std::move(commandLine)),
          texts_(texts) {}

    void ShowPreview(std::int32_t hHost) override {
        preview_.emplace(instance_);
        Pelluna_R(ports_, *preview_).SetUp(hHost);
    }

    void ShowSettingsDialog() override {
        // Before the dialog and its buttons exist: the system then scales them on a monitor of another DPI.
        const SystemDpiScope systemDpi;
        SettingsDialog window(instance_, ports_, texts_);
        Pelluna_P dialog(ports_, window, platform_.dialogs, platform_.shell, texts_);
        window.Attach(dialog);
        window.ShowModal();
    }

    void LoadSaverWindow() override {
        SaverWindow window(instance_, platform_.text);
        Pelluna_BGM bgm(platform_.mci, platform_.text);
        Pelluna_S saver(ports_, window, bgm, ModeLetter(commandLine_), [this] {
            return std::make_unique<Pelluna_C3>(platform_.gdi, platform_.kernel, platform_.clock);
        });
        window.Attach(saver);
        saver.Load();
    }

    bool PreviewShown() const { return preview_.has_value(); }

  private:
    HINSTANCE instance_;
    Win32Platform& platform_;
    Platform ports_;
    std::wstring commandLine_;
    const UiTexts& texts_;
    std::optional<PreviewWindow> preview_;
};

}  // namespace
}  // namespace pelluna::win32

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    using namespace pelluna::win32;
    Win32Platform platform;
    const std::wstring arguments = platform.text.FromAnsi(commandLine ? commandLine : "");
    // One language for the whole process: the dialog, its chooser and its message boxes.
    const pelluna::UiTexts& texts = pelluna::TextsFor(
        pelluna::ChooseUiLanguage(platform.kernel.GetUserDefaultUILanguage(), platform.kernel.GetACP()));
    Win32ModeEntries modes(instance, platform, arguments, texts);
    pelluna::Main(arguments, platform.Ports(), modes);

    // Only the preview comes back from Main; it lives until its window goes with the host's box.
    if (modes.PreviewShown()) {
        MSG message;
        while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    return 0;
}
