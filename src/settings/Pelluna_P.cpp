// The settings dialog: loads the settings into its controls, lets the user change them, saves or cancels.
#include "settings/Pelluna_P.h"

#include <array>
#include <optional>
#include <string>

#include "common/Numbers.h"
#include "settings/DialogShading.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"
#include "settings/WindowAnimation.h"

namespace pelluna {
namespace {

using C = DialogControl;

constexpr std::array kIndicators = {C::Img_BGM0, C::Img_BGM1, C::Img_BGM2};
constexpr std::int16_t kTrackItems = 31;  // an empty item for "no repeat", then tracks 1 to 30
constexpr std::size_t kFileBufferSize = 255;

constexpr std::wstring_view kFilterName = L"BGMﾌｧｲﾙ (MP3 WAV)";
constexpr std::wstring_view kFilterPattern = L"*.MP3;*.WAV";
constexpr std::wstring_view kChooserTitle = L"ﾌｧｲﾙを開く";

}  // namespace

void Pelluna_P::Load() {
    // Centred across, a third of the free height above: differences in whole twips, truncating division.
    host_.Move((host_.ScreenWidth() - host_.Width()) / 2, (host_.ScreenHeight() - host_.Height()) / 3);

    InitialiseButtons(true, true);

    ShowMusicKind(gBgmKind);

    host_.SetText(C::BGM_Repeat, numbers::FormatHashHash(gBgmRepeatTrack));
    for (std::int16_t track = 0; track < kTrackItems; ++track) {
        host_.AddItem(C::BGM_Repeat, numbers::FormatHashHash(track));
    }

    // A value the 16-bit position cannot hold skips its bar, as does one the bar refuses.
    if (const auto drops = numbers::RoundToInt16(gDropsCount)) host_.SetValue(C::HS_Num, *drops);
    if (const auto speed = numbers::RoundToInt16(gRippleSpeed)) host_.SetValue(C::HS_Fast, *speed);
    if (const auto size = numbers::RoundToInt16(gRippleSize)) host_.SetValue(C::HS_Size, *size);

    host_.SetText(C::lbl_Fname, gBgmFile);

    // Each coordinate is kept only when it fits 16 bits; otherwise the earlier value stays.
    Point cursor;
    const bool gotCursor = platform_.user.GetCursorPos(cursor);
    gApiResult = gotCursor ? 1 : 0;
    if (gotCursor) {
        if (const auto x = numbers::RoundToInt16(cursor.x)) gCursorX = *x;
        if (const auto y = numbers::RoundToInt16(cursor.y)) gCursorY = *y;
    } else {
        gCursorX = 0;
        gCursorY = 0;
    }

    ShowOpenAnimation(platform_.user, host_.hWnd());
}

void Pelluna_P::Resize() {
    constexpr std::array kSurfaces = {C::Form, C::Pic_C0, C::Pic_C1};
    for (const C surface : kSurfaces) {
        std::int32_t width = 0;
        std::int32_t height = 0;
        host_.ClientSize(surface, width, height);
        for (std::int32_t y = 0; y <= height; ++y) {
            const std::optional<std::int32_t> level = ShadeLevel(y, height);
            if (!level) continue;
            host_.Line(surface, 0, y, width, y,
                       surface == C::Form ? DialogShade(*level) : PanelShade(*level));
        }
    }
}

void Pelluna_P::QueryUnload() {
    CloseDialog();
}

void Pelluna_P::InitialiseButtons(bool Initialise, bool BytEnabled) {
    for (const LayoutEntry& entry : DialogLayout()) {
        if (entry.kind != ControlKind::Command) continue;
        if (Initialise) {
            host_.Initialize(entry.control);
        } else {
            host_.SetEnabled(entry.control, BytEnabled);
        }
    }
}

void Pelluna_P::Img_BGM_Click(std::int16_t Index) {
    ChooseMusicKind(Index);
}

void Pelluna_P::lbl_BGM_Click(std::int16_t Index) {
    ChooseMusicKind(Index);
}

void Pelluna_P::Cmd_BGM_Click() {
    // The filter: description and pattern, each closed by a NUL, and one more NUL to end the list.
    std::string filter = platform_.text.ToAnsi(kFilterName);
    filter += '\0';
    filter += platform_.text.ToAnsi(kFilterPattern);
    filter += '\0';
    const std::string title = platform_.text.ToAnsi(kChooserTitle);
    // One more byte than the system may use, so the text always ends in a NUL.
    std::array<char, kFileBufferSize + 1> file{};
    std::array<char, kFileBufferSize + 1> fileTitle{};

    OpenFileNameA ofn;
    ofn.lStructSize = win::OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = host_.hWnd();
    ofn.hInstance = host_.hInstance();
    ofn.lpstrFilter = filter.c_str();  // c_str adds the NUL after the last one
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = kFileBufferSize;
    ofn.lpstrFileTitle = fileTitle.data();
    ofn.nMaxFileTitle = kFileBufferSize;
    ofn.lpstrInitialDir = nullptr;
    ofn.lpstrTitle = title.c_str();
    ofn.Flags = 0;

    gApiResult = dialogs_.GetOpenFileNameA(ofn);
    if (gApiResult <= 0) return;
    file.back() = '\0';
    gBgmFile = platform_.text.FromAnsi(file.data());
    host_.SetText(C::lbl_Fname, gBgmFile);
}

void Pelluna_P::Cmd_Set_Click() {
    SettingsStore store(platform_.kernel, platform_.text);
    const std::wstring file = store.IniFilePath();
    const auto write = [&](std::wstring_view key, const std::wstring& value) {
        store.WriteIniValue(ini::Section, key, value, file);
    };
    write(ini::DropsCount, numbers::WithLeadingBlank(host_.GetValue(C::HS_Num)));
    write(ini::RippleSpeed, numbers::WithLeadingBlank(host_.GetValue(C::HS_Fast)));
    write(ini::RippleSize, numbers::WithLeadingBlank(host_.GetValue(C::HS_Size)));
    write(ini::BgmKind, numbers::WithLeadingBlank(gBgmKind));

    // Text that is no number, and a number beyond 16 bits, stand for no repeat.
    gBgmRepeatTrack = 0;
    if (const auto track = numbers::ParseDecimal(host_.GetText(C::BGM_Repeat))) {
        gBgmRepeatTrack = numbers::RoundToInt16(*track).value_or(0);
    }
    write(ini::BgmRepeat, numbers::WithLeadingBlank(gBgmRepeatTrack));
    write(ini::BgmFile, gBgmFile);

    CloseDialog();
}

void Pelluna_P::Cmd_Can_Click() {
    CloseDialog();
}

void Pelluna_P::lbl_URL_Click() {
    host_.SetMousePointer(MousePointer::Hourglass);
    const std::string address = platform_.text.ToAnsi(host_.GetText(C::lbl_URL));
    shell_.ShellExecuteA(host_.hWnd(), "open", address.c_str(), "", "", win::SW_SHOWNORMAL);
    host_.SetMousePointer(MousePointer::Default);
}

void Pelluna_P::ChooseMusicKind(std::int16_t Index) {
    ShowMusicKind(Index);
    gBgmKind = Index;
}

void Pelluna_P::ShowMusicKind(std::int16_t kind) {
    host_.SetEnabled(C::Cmd_BGM, false);
    host_.SetEnabled(C::BGM_Repeat, false);
    for (const C indicator : kIndicators) host_.SetPicture(indicator, IndicatorPicture::Unselected);
    // A kind outside 0 to 2 has no indicator to select.
    if (kind >= 0 && static_cast<std::size_t>(kind) < kIndicators.size()) {
        host_.SetPicture(kIndicators[static_cast<std::size_t>(kind)], IndicatorPicture::Selected);
    }
    if (kind == bgm_kind::AudioCd) host_.SetEnabled(C::BGM_Repeat, true);
    if (kind == bgm_kind::MusicFile) host_.SetEnabled(C::Cmd_BGM, true);
}

void Pelluna_P::CloseDialog() {
    ShowCloseAnimation(platform_.user, host_.hWnd());
    host_.Unload();
}

}  // namespace pelluna
