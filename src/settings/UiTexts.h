// Every text a person reads in the program, one table per language, and which language a system gets.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "settings/DialogLayout.h"

namespace pelluna {

enum class UiLanguage { Japanese, English };
// Every language the program speaks, in the order another start looks for a settings dialog in it.
inline constexpr std::array kUiLanguages{UiLanguage::Japanese, UiLanguage::English};

// The font the dialog's texts are drawn in: the Japanese design font, or the system's message font,
// which every Windows has.
enum class DialogFont { Japanese, SystemMessage };

struct ControlCaption {
    DialogControl control;
    std::wstring_view text;
};

struct UiTexts {
    std::wstring_view dialogTitle;
    DialogFont font;
    // The words on the dialog's labels and buttons; a control not listed shows its layout text.
    std::span<const ControlCaption> captions;
    std::wstring_view chooserTitle;
    std::wstring_view filterName;  // the chooser's description of the music files
    std::wstring_view saveFailed;
    std::wstring_view errorNumber;  // before the number of an error the system has no text for
    std::wstring_view pathTooLong;
    std::wstring_view pathNotAnsi;
    // Why no save can work: the program's folder has a name the ANSI code page cannot write.
    std::wstring_view folderNotAnsi;

    // The control's words in this language, or the layout's own text.
    std::wstring_view Caption(const LayoutEntry& entry) const;
};

// Japanese where the display language is Japanese and the ANSI code page can carry its texts (932, or
// UTF-8); English everywhere else, whose texts are plain ASCII and pass through every code page unchanged.
UiLanguage ChooseUiLanguage(std::uint16_t uiLanguage, std::uint32_t ansiCodePage);

const UiTexts& TextsFor(UiLanguage language);

}  // namespace pelluna
