// The settings dialog: loads the settings into its controls, lets the user change them, saves or cancels.
#pragma once

#include <cstdint>

#include "platform/CommonDialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "settings/DialogHost.h"

namespace pelluna {

class Pelluna_P {
  public:
    Pelluna_P(const Platform& platform, DialogHost& host, CommonDialogs& dialogs, Shell& shell)
        : platform_(platform), host_(host), dialogs_(dialogs), shell_(shell) {}

    // Load handler, before the window is first shown: places it, fills the controls from the settings,
    // saves the cursor point and plays the opening animation.
    void Load();
    // When the window gets its size: paints the shading into the persistent images of the dialog and its
    // two panels.
    void Resize();
    // The close box (and Escape): closes without saving.
    void QueryUnload();

    // Walks every control; Command buttons are started (Initialise) or enabled or disabled (BytEnabled).
    void InitialiseButtons(bool Initialise, bool BytEnabled);

    void Img_BGM_Click(std::int16_t Index);
    void lbl_BGM_Click(std::int16_t Index);
    void Cmd_BGM_Click();
    void Cmd_Set_Click();
    void Cmd_Can_Click();
    void lbl_URL_Click();

  private:
    void ChooseMusicKind(std::int16_t Index);
    // Shows which music kind is chosen and enables the controls that belong to it.
    void ShowMusicKind(std::int16_t kind);
    void CloseDialog();

    const Platform& platform_;
    DialogHost& host_;
    CommonDialogs& dialogs_;
    Shell& shell_;
};

}  // namespace pelluna
