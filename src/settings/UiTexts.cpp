// Every text a person reads in the program, one table per language, and which language a system gets.
// A translator fills in one more table like these two; nothing else changes with the language.
#include "settings/UiTexts.h"

#include <array>

#include "platform/types.h"

namespace pelluna {
namespace {

using C = DialogControl;

constexpr std::uint16_t kJapaneseLanguage = 0x11;  // the primary language of a LANGID
constexpr std::uint16_t kPrimaryLanguageMask = 0x3FF;
constexpr std::uint32_t kJapaneseCodePage = 932;

constexpr std::array kJapaneseCaptions = {
    ControlCaption{C::Cmd_Set, L"設定"},      ControlCaption{C::Cmd_Can, L"ｷｬﾝｾﾙ"},
    ControlCaption{C::lbl9, kCreditLine},     ControlCaption{C::lbl15, L"BGM"},
    ControlCaption{C::lbl_BGM1, L"音楽CD"},   ControlCaption{C::lbl14, L"曲目をﾘﾋﾟｰﾄ"},
    ControlCaption{C::lbl_BGM0, L"無し"},     ControlCaption{C::lbl_BGM2, L"MP3、WAV"},
    ControlCaption{C::lbl0, L"Pellunaの数"},  ControlCaption{C::lbl3, L"少ない"},
    ControlCaption{C::lbl4, L"多い"},         ControlCaption{C::lbl1, L"波紋のｽﾋﾟｰﾄﾞ"},
    ControlCaption{C::lbl5, L"遅い"},         ControlCaption{C::lbl7, L"速い"},
    ControlCaption{C::lbl2, L"波紋の大きさ"}, ControlCaption{C::lbl6, L"小さい"},
    ControlCaption{C::lbl8, L"大きい"},
};

constexpr UiTexts kJapanese{
    .dialogTitle = L"Pellunaの設定",
    .font = DialogFont::Japanese,
    .captions = kJapaneseCaptions,
    .chooserTitle = L"ﾌｧｲﾙを開く",
    .filterName = L"BGMﾌｧｲﾙ (MP3 WAV)",
    .saveFailed = L"設定を保存できませんでした。",
    .errorNumber = L"ｴﾗｰ ",
    .pathTooLong = L"このﾌｧｲﾙは選べません。ﾊﾟｽが255ﾊﾞｲﾄを超えています。",
    .pathNotAnsi = L"このﾌｧｲﾙは選べません。ﾊﾟｽにこのｼｽﾃﾑの文字ｺｰﾄﾞで表せない文字があります。",
    .folderNotAnsi = L"このﾌｫﾙﾀﾞの名前はこのｼｽﾃﾑでは使えません。別のﾌｫﾙﾀﾞにｲﾝｽﾄｰﾙしてください。",
};

constexpr std::array kEnglishCaptions = {
    ControlCaption{C::Cmd_Set, L"OK"},        ControlCaption{C::Cmd_Can, L"Cancel"},
    ControlCaption{C::lbl9, kCreditLine},     ControlCaption{C::lbl15, L"Music"},
    ControlCaption{C::lbl_BGM1, L"Audio CD"}, ControlCaption{C::lbl14, L"track to repeat (blank: whole CD)"},
    ControlCaption{C::lbl_BGM0, L"None"},     ControlCaption{C::lbl_BGM2, L"MP3 or WAV file"},
    ControlCaption{C::lbl0, L"Raindrops"},    ControlCaption{C::lbl3, L"Few"},
    ControlCaption{C::lbl4, L"Many"},         ControlCaption{C::lbl1, L"Ripple speed"},
    ControlCaption{C::lbl5, L"Slow"},         ControlCaption{C::lbl7, L"Fast"},
    ControlCaption{C::lbl2, L"Ripple size"},  ControlCaption{C::lbl6, L"Small"},
    ControlCaption{C::lbl8, L"Large"},
};

constexpr UiTexts kEnglish{
    .dialogTitle = L"Pelluna Settings",
    .font = DialogFont::SystemMessage,
    .captions = kEnglishCaptions,
    .chooserTitle = L"Choose Music",
    .filterName = L"Music files (MP3, WAV)",
    .saveFailed = L"The settings could not be saved.",
    .errorNumber = L"Error ",
    .pathTooLong =
        L"This file cannot be chosen: its path is longer than the 255 bytes the settings file keeps.",
    .pathNotAnsi =
        L"This file cannot be chosen: its path has characters that this system's code page cannot hold.",
    .folderNotAnsi =
        L"The name of Pelluna's folder cannot be used on this system. Install Pelluna into "
        L"another folder.",
};

}  // namespace

std::wstring_view UiTexts::Caption(const LayoutEntry& entry) const {
    for (const ControlCaption& caption : captions) {
        if (caption.control == entry.control) return caption.text;
    }
    return entry.text;
}

UiLanguage ChooseUiLanguage(std::uint16_t uiLanguage, std::uint32_t ansiCodePage) {
    const bool japanese = (uiLanguage & kPrimaryLanguageMask) == kJapaneseLanguage;
    // The UTF-8 code page that Windows offers in beta carries Japanese as well as 932 does.
    const bool carriesJapanese = ansiCodePage == kJapaneseCodePage || ansiCodePage == win::CP_UTF8;
    return japanese && carriesJapanese ? UiLanguage::Japanese : UiLanguage::English;
}

const UiTexts& TextsFor(UiLanguage language) {
    return language == UiLanguage::Japanese ? kJapanese : kEnglish;
}

}  // namespace pelluna
