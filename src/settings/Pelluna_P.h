// The settings dialog: loads the settings into its controls, lets the user change them, saves or cancels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/CommonDialogs.h"
#include "platform/Platform.h"
#include "platform/Shell.h"
#include "settings/DialogHost.h"
#include "settings/SettingsStore.h"
#include "settings/UiTexts.h"

namespace pelluna {

class Pelluna_P {
  public:
    // texts: the language the program speaks, for the chooser and the message boxes.
    Pelluna_P(const Platform& platform, DialogHost& host, CommonDialogs& dialogs, Shell& shell,
              const UiTexts& texts = TextsFor(UiLanguage::Japanese))
        : platform_(platform), host_(host), dialogs_(dialogs), shell_(shell), texts_(texts) {}

    // Load handler, before the window is first shown: places it, fills the controls from the settings,
    // saves the cursor point and plays the opening animation.
    void Load();
    // When the window gets its size: paints the shading into the persistent images of the dialog and its
    // two panels.
    void Resize();
    // The close box: closes without saving.
    void QueryUnload();

    // The window became active: the focus goes back to the control that had it, to the drops bar at first.
    void Activate();
    // The window stops being active: the control with the focus is remembered.
    void Deactivate();
    // A key pressed anywhere in the dialog, before the control with the focus sees it. Tab and Shift+Tab
    // move the focus, Enter acts for the focused button or saves, Escape cancels; in the music kind the
    // arrow keys choose the row before or after, and Space the focused one. Shift: 1 when Shift is held.
    // True when the dialog handled the key.
    bool KeyDown(std::int16_t KeyCode, std::int16_t Shift);
    // A key let go in the dialog: Space let go on the button it went down on presses that button, as
    // Enter does. True when the dialog handled the key.
    bool KeyUp(std::int16_t KeyCode);
    // The user asks a scroll bar to move: request is an SB_ code, trackPosition the thumb's place for the
    // thumb requests.
    void HS_Scroll(DialogControl bar, int request, std::int32_t trackPosition);

    // Walks every control; Command buttons are started (Initialise) or enabled or disabled (BytEnabled).
    void InitialiseButtons(bool Initialise, bool BytEnabled);

    // The mouse button going down and coming up over the dialog, on the clickable text or image under the
    // pointer (none: elsewhere). A click is the button going down and coming up on the same one.
    void MouseDown(std::optional<DialogControl> control);
    void MouseUp(std::optional<DialogControl> control);
    // A click on a clickable text or image, or a Command button's Click: what the control does.
    void Click(DialogControl control);
    // The pointer over the control under it (none: elsewhere): the hourglass while busy anywhere, the
    // pointing hand over the address, else the default.
    MousePointer PointerOver(std::optional<DialogControl> control) const;

    void Img_BGM_Click(std::int16_t Index);
    void lbl_BGM_Click(std::int16_t Index);
    void Cmd_BGM_Click();
    void Cmd_Set_Click();
    void Cmd_Can_Click();
    void lbl_URL_Click();

    // The controls that take the focus, in the order Tab walks them. The music kind is one stop, as a
    // radio group is: its slot is held by the top row's name, and the focus goes to the chosen row's.
    static constexpr std::array kTabOrder = {
        DialogControl::HS_Num,     DialogControl::HS_Fast, DialogControl::HS_Size, DialogControl::lbl_BGM1,
        DialogControl::BGM_Repeat, DialogControl::Cmd_BGM, DialogControl::Cmd_Set, DialogControl::Cmd_Can};

  private:
    // Sets a bar to its stored value, or to the end it lies beyond; the stored text is kept for saving.
    void ShowBar(std::size_t bar, double value, std::wstring stored);
    // Where the file chooser opens, as ANSI bytes: the folder of the music file chosen now, or the user's
    // Music folder when there is none or it is gone; empty for the chooser's own choice.
    std::string ChooserFolder();
    // The six writes in order; false at the first that fails, and the later ones are not tried.
    bool SaveSettings(SettingsStore& store, const std::wstring& file);
    // The system's text for its last error, or the error's number.
    std::wstring SystemReason();
    void ShowSaveFailure(const std::wstring& file, std::wstring_view reason);
    // The next enabled control after from (before it, backwards) in the tab order; from the ends when
    // from is none.
    void MoveFocus(std::optional<DialogControl> from, bool backwards);
    // What Enter, or Space let go, does on the focused control: a button acts as its click, anything else
    // saves.
    void PressFocused(std::optional<DialogControl> focused);
    // The button that Space went down on loses its pressed look without acting.
    void ReleaseSpace();
    void ChooseMusicKind(std::int16_t Index);
    // Up, Left (backwards), Down or Right on a row of the music kind: the row before or after it on the
    // screen, round at the ends, is chosen.
    void StepMusicKind(DialogControl row, bool backwards);
    // Shows which music kind is chosen and enables the controls that belong to it.
    void ShowMusicKind(std::int16_t kind);
    void CloseDialog();

    const Platform& platform_;
    DialogHost& host_;
    CommonDialogs& dialogs_;
    Shell& shell_;
    const UiTexts& texts_;

    // For each bar (drops, speed, size): the stored value's text, until the user moves the bar.
    std::array<std::optional<std::wstring>, 3> m_StoredTexts;
    std::optional<DialogControl> m_LastFocus;
    // The button showing the pressed look while Space is held on it.
    std::optional<DialogControl> m_SpaceOn;
    // The clickable control the mouse button went down on.
    std::optional<DialogControl> m_MouseDownOn;
    MousePointer m_Pointer = MousePointer::Default;
};

}  // namespace pelluna
