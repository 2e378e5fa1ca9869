// The settings dialog: loads the settings into its controls, lets the user change them, saves or cancels.
#include "settings/Pelluna_P.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "common/Numbers.h"
#include "settings/DialogShading.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"
#include "settings/WindowAnimation.h"

namespace pelluna {
namespace {

using C = DialogControl;

constexpr std::array kIndicators = {C::Img_BGM0, C::Img_BGM1, C::Img_BGM2};
// The names of the music kinds, by kind, and the kinds in their order on the screen.
constexpr std::array kKindNames = {C::lbl_BGM0, C::lbl_BGM1, C::lbl_BGM2};
constexpr std::array<std::int16_t, 3> kKindsOnScreen = {bgm_kind::AudioCd, bgm_kind::None,
                                                        bgm_kind::MusicFile};
constexpr std::array kBars = {C::HS_Num, C::HS_Fast, C::HS_Size};
constexpr std::int16_t kTrackItems = 31;  // an empty item for "no repeat", then tracks 1 to 30
// Room for any path the chooser can return (the longest Windows path, in ANSI bytes), so that it never
// cuts or overruns one; the settings file keeps only kMaxStoredPathBytes of it.
constexpr std::size_t kFileBufferSize = 32768;
constexpr std::size_t kMaxStoredPathBytes = 255;
constexpr std::uint32_t kReasonBufferSize = 512;

constexpr std::wstring_view kFilterPattern = L"*.MP3;*.WAV";
constexpr std::wstring_view kMessageCaption = L"Pelluna";

// Why a chosen path cannot be kept: the system's ANSI code page has no form for some of its characters
// (the chooser hands them over as "?", which no file name holds), or the settings file cannot keep the
// bytes that would be written whole.
// The music kind whose name the control is, if it is one.
std::optional<std::int16_t> KindNamed(std::optional<DialogControl> control) {
    const auto* name = control ? std::find(kKindNames.begin(), kKindNames.end(), *control) : kKindNames.end();
    if (name == kKindNames.end()) return std::nullopt;
    return static_cast<std::int16_t>(name - kKindNames.begin());
}

// The row that takes the focus in the music kind: the chosen one, the top one while none is.
DialogControl FocusRow() {
    const bool chosen = gBgmKind >= 0 && static_cast<std::size_t>(gBgmKind) < kKindNames.size();
    return kKindNames[static_cast<std::size_t>(chosen ? gBgmKind : kKindsOnScreen.front())];
}

std::optional<std::wstring_view> PathRefusal(Text& text, const UiTexts& texts, const std::wstring& path) {
    bool lossy = false;
    const std::size_t storedBytes = text.ToAnsi(path, &lossy).size();
    if (lossy || path.find(L'?') != std::wstring::npos) return texts.pathNotAnsi;
    if (storedBytes > kMaxStoredPathBytes) return texts.pathTooLong;
    return std::nullopt;
}

// The music file's path as the settings file keeps it: whole, or, for a stored path whose bytes the code
// page could not read (each became a two-byte "・"), cut between characters to the 255 bytes that load
// back, so that a save never writes what the next load would read otherwise.
std::wstring KeptPath(Text& text, std::wstring path) {
    while (!path.empty() && text.ToAnsi(path).size() > kMaxStoredPathBytes) path.pop_back();
    return path;
}

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

    ShowBar(0, gDropsCount,
            gDropsCountText.empty() ? numbers::WithLeadingBlank(gDropsCount)
                                    : (gDropsCountText.front() == L'-' ? L"" : L" ") + gDropsCountText);
    ShowBar(1, gRippleSpeed, numbers::SingleWithLeadingBlank(gRippleSpeed));
    ShowBar(2, gRippleSize, numbers::SingleWithLeadingBlank(gRippleSize));

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

void Pelluna_P::ShowBar(std::size_t bar, double value, std::wstring stored) {
    const LayoutEntry& entry = *FindControl(kBars[bar]);
    // A value beyond an end is shown at that end, so that a move starts there. Whatever the bar shows, the
    // stored text is what saving writes until the bar is moved: a hand-written 75.25 stays 75.25.
    const double rounded = std::nearbyint(value);  // a half to the even neighbour
    const bool beyond = !(rounded >= entry.min && rounded <= entry.max);
    const double position = beyond ? (rounded > entry.max ? entry.max : entry.min) : rounded;
    host_.SetValue(kBars[bar], static_cast<std::int32_t>(position));
    m_StoredTexts[bar] = std::move(stored);
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

void Pelluna_P::Activate() {
    host_.SetFocus(m_LastFocus && host_.IsEnabled(*m_LastFocus) ? *m_LastFocus : C::HS_Num);
}

void Pelluna_P::Deactivate() {
    ReleaseSpace();
    if (const auto focused = host_.FocusedControl()) m_LastFocus = focused;
}

bool Pelluna_P::KeyDown(std::int16_t KeyCode, std::int16_t Shift) {
    const auto focused = host_.FocusedControl();
    // Any other key while Space is held takes the press back, as on every Windows button.
    if (KeyCode != win::VK_SPACE) ReleaseSpace();
    if (const auto row = KindNamed(focused)) {
        switch (KeyCode) {
            case win::VK_UP:
            case win::VK_LEFT:
            case win::VK_DOWN:
            case win::VK_RIGHT:
                StepMusicKind(*focused, KeyCode == win::VK_UP || KeyCode == win::VK_LEFT);
                return true;
            case win::VK_SPACE:
                ChooseMusicKind(*row);
                return true;
            default:
                break;
        }
    }
    switch (KeyCode) {
        case win::VK_TAB:
            MoveFocus(focused, (Shift & 1) != 0);
            return true;
        case win::VK_RETURN:
            // The open track list takes Enter and Escape itself, to close.
            if (host_.DroppedDown(C::BGM_Repeat)) return false;
            PressFocused(focused);
            return true;
        case win::VK_SPACE: {
            const bool button = focused == C::Cmd_Set || focused == C::Cmd_Can || focused == C::Cmd_BGM;
            if (!button || !host_.IsEnabled(*focused)) return false;
            // Held down, the key repeats: the look is shown once.
            if (m_SpaceOn != focused) host_.ShowPressed(*focused, true);
            m_SpaceOn = focused;
            return true;
        }
        case win::VK_ESCAPE:
            if (host_.DroppedDown(C::BGM_Repeat)) return false;
            Cmd_Can_Click();
            return true;
        default:
            return false;
    }
}

bool Pelluna_P::KeyUp(std::int16_t KeyCode) {
    if (KeyCode != win::VK_SPACE || !m_SpaceOn) return false;
    const DialogControl button = *m_SpaceOn;
    ReleaseSpace();
    if (host_.FocusedControl() == button) PressFocused(button);
    return true;
}

void Pelluna_P::ReleaseSpace() {
    if (!m_SpaceOn) return;
    host_.ShowPressed(*m_SpaceOn, false);
    m_SpaceOn.reset();
}

void Pelluna_P::PressFocused(std::optional<DialogControl> focused) {
    if (focused == C::Cmd_Can) {
        Cmd_Can_Click();
    } else if (focused == C::Cmd_BGM && host_.IsEnabled(C::Cmd_BGM)) {
        Cmd_BGM_Click();
    } else {
        Cmd_Set_Click();
    }
}

void Pelluna_P::MoveFocus(std::optional<DialogControl> from, bool backwards) {
    const std::size_t count = kTabOrder.size();
    // Every row of the music kind stands in the slot of the top one.
    if (KindNamed(from)) from = kKindNames[kKindsOnScreen.front()];
    const auto* at = from ? std::find(kTabOrder.begin(), kTabOrder.end(), *from) : kTabOrder.end();
    // Outside the order, Tab starts at the first control and Shift+Tab at the last.
    std::size_t index = at == kTabOrder.end() ? (backwards ? 0 : count - 1)
                                              : static_cast<std::size_t>(at - kTabOrder.begin());
    for (std::size_t step = 0; step < count; ++step) {
        index = backwards ? (index + count - 1) % count : (index + 1) % count;
        if (host_.IsEnabled(kTabOrder[index])) {
            host_.SetFocus(KindNamed(kTabOrder[index]) ? FocusRow() : kTabOrder[index]);
            return;
        }
    }
}

void Pelluna_P::HS_Scroll(DialogControl bar, int request, std::int32_t trackPosition) {
    const auto* slot = std::find(kBars.begin(), kBars.end(), bar);
    const LayoutEntry* entry = FindControl(bar);
    if (slot == kBars.end() || entry == nullptr) return;
    const std::int32_t before = host_.GetValue(bar);
    std::int32_t value = before;
    switch (request) {
        case win::SB_LINELEFT:
            value -= entry->smallChange;
            break;
        case win::SB_LINERIGHT:
            value += entry->smallChange;
            break;
        case win::SB_PAGELEFT:
            value -= entry->largeChange;
            break;
        case win::SB_PAGERIGHT:
            value += entry->largeChange;
            break;
        case win::SB_LEFT:
            value = entry->min;
            break;
        case win::SB_RIGHT:
            value = entry->max;
            break;
        case win::SB_THUMBTRACK:
        case win::SB_THUMBPOSITION:
            value = trackPosition;
            break;
        default:
            return;
    }
    value = std::clamp(value, entry->min, entry->max);
    std::optional<std::wstring>& stored = m_StoredTexts[static_cast<std::size_t>(slot - kBars.begin())];
    // A request at a bar's end is a move all the same while the bar stands for a stored text.
    if (value == before && !stored) return;
    host_.SetValue(bar, value);
    // The bar now shows the user's choice, which is what saving writes.
    stored.reset();
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
    std::string filter = platform_.text.ToAnsi(texts_.filterName);
    filter += '\0';
    filter += platform_.text.ToAnsi(kFilterPattern);
    filter += '\0';
    const std::string title = platform_.text.ToAnsi(texts_.chooserTitle);
    const std::string folder = ChooserFolder();
    // One more byte than the system may use, so the text always ends in a NUL.
    std::string file(kFileBufferSize + 1, '\0');
    std::string fileTitle(kFileBufferSize + 1, '\0');

    OpenFileNameA ofn;
    ofn.lStructSize = win::OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = host_.hWnd();
    ofn.hInstance = host_.hInstance();
    ofn.lpstrFilter = filter.c_str();  // c_str adds the NUL after the last one
    ofn.nFilterIndex = 0;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<std::uint32_t>(kFileBufferSize);
    ofn.lpstrFileTitle = fileTitle.data();
    ofn.nMaxFileTitle = static_cast<std::uint32_t>(kFileBufferSize);
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    ofn.lpstrTitle = title.c_str();
    // A music file is only read: the chooser's "Open as read-only" would mean nothing here.
    ofn.Flags = win::OFN_HIDEREADONLY;

    gApiResult = dialogs_.GetOpenFileNameA(ofn);
    if (gApiResult <= 0) return;
    file.back() = '\0';
    std::wstring path = platform_.text.FromAnsi(std::string_view(file.data(), std::strlen(file.data())));
    if (const auto refusal = PathRefusal(platform_.text, texts_, path)) {
        const std::wstring message = std::wstring(*refusal) + L"\n\n" + path;
        platform_.user.MessageBoxW(host_.hWnd(), message, std::wstring(kMessageCaption),
                                   win::MB_OK | win::MB_ICONWARNING);
        return;
    }
    gBgmFile = std::move(path);
    host_.SetText(C::lbl_Fname, gBgmFile);
}

std::string Pelluna_P::ChooserFolder() {
    const std::size_t slash = gBgmFile.find_last_of(L'\\');
    std::wstring folder = slash == std::wstring::npos ? std::wstring() : gBgmFile.substr(0, slash + 1);
    const auto isFolder = [&](const std::wstring& path) {
        const std::uint32_t attributes =
            path.empty() ? win::INVALID_FILE_ATTRIBUTES : platform_.kernel.GetFileAttributesW(path);
        return attributes != win::INVALID_FILE_ATTRIBUTES && (attributes & win::FILE_ATTRIBUTE_DIRECTORY);
    };
    if (!isFolder(folder))
        folder = shell_.SHGetFolderPathW(host_.hWnd(), win::CSIDL_MYMUSIC, 0, win::SHGFP_TYPE_CURRENT);
    if (!isFolder(folder)) return {};
    // The chooser takes ANSI bytes: a folder the code page cannot name goes by its short form, or not at all.
    const auto reachable = SettingsStore(platform_.kernel, platform_.text).ReachableForm(folder);
    return reachable ? platform_.text.ToAnsi(*reachable) : std::string();
}

void Pelluna_P::Cmd_Set_Click() {
    SettingsStore store(platform_.kernel, platform_.text);
    const std::wstring file = store.IniFilePath();
    // A save that failed is told, and the dialog stays open with the user's choices to try again or cancel.
    if (!store.CanReach(file)) {
        ShowSaveFailure(file, texts_.folderNotAnsi);
        return;
    }
    if (!SaveSettings(store, file)) {
        ShowSaveFailure(file, SystemReason());
        return;
    }
    CloseDialog();
}

bool Pelluna_P::SaveSettings(SettingsStore& store, const std::wstring& file) {
    const auto write = [&](std::wstring_view key, const std::wstring& value) {
        return store.WriteIniValue(ini::Section, key, value, file);
    };
    const auto bar = [&](std::size_t index) {
        return m_StoredTexts[index].value_or(numbers::WithLeadingBlank(host_.GetValue(kBars[index])));
    };
    if (!write(ini::DropsCount, bar(0)) || !write(ini::RippleSpeed, bar(1)) ||
        !write(ini::RippleSize, bar(2)) || !write(ini::BgmKind, numbers::WithLeadingBlank(gBgmKind))) {
        return false;
    }

    // Text that is no number, and a number beyond 16 bits, stand for no repeat.
    gBgmRepeatTrack = 0;
    if (const auto track = numbers::ParseDecimal(host_.GetText(C::BGM_Repeat))) {
        gBgmRepeatTrack = numbers::RoundToInt16(*track).value_or(0);
    }
    return write(ini::BgmRepeat, numbers::WithLeadingBlank(gBgmRepeatTrack)) &&
           write(ini::BgmFile, KeptPath(platform_.text, gBgmFile));
}

std::wstring Pelluna_P::SystemReason() {
    const std::uint32_t error = platform_.kernel.GetLastError();
    std::array<wchar_t, kReasonBufferSize> buffer{};
    const std::uint32_t length =
        platform_.kernel.FormatMessageW(win::FORMAT_MESSAGE_FROM_SYSTEM | win::FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, buffer.data(), kReasonBufferSize);
    std::wstring reason(buffer.data(), std::min(length, kReasonBufferSize - 1));
    while (!reason.empty() && (reason.back() == L'\r' || reason.back() == L'\n' || reason.back() == L' ')) {
        reason.pop_back();
    }
    if (reason.empty()) reason = std::wstring(texts_.errorNumber) + std::to_wstring(error);
    return reason;
}

void Pelluna_P::ShowSaveFailure(const std::wstring& file, std::wstring_view reason) {
    const std::wstring message =
        std::wstring(texts_.saveFailed) + L"\n\n" + file + L"\n\n" + std::wstring(reason);
    platform_.user.MessageBoxW(host_.hWnd(), message, std::wstring(kMessageCaption),
                               win::MB_OK | win::MB_ICONERROR);
}

void Pelluna_P::Cmd_Can_Click() {
    CloseDialog();
}

void Pelluna_P::lbl_URL_Click() {
    host_.SetMousePointer(m_Pointer = MousePointer::Hourglass);
    const std::string address = platform_.text.ToAnsi(host_.GetText(C::lbl_URL));
    shell_.ShellExecuteA(host_.hWnd(), "open", address.c_str(), "", "", win::SW_SHOWNORMAL);
    host_.SetMousePointer(m_Pointer = MousePointer::Default);
}

void Pelluna_P::MouseDown(std::optional<DialogControl> control) {
    m_MouseDownOn = control;
}

void Pelluna_P::MouseUp(std::optional<DialogControl> control) {
    const std::optional<DialogControl> downOn = std::exchange(m_MouseDownOn, std::nullopt);
    if (control && control == downOn) Click(*control);
}

void Pelluna_P::Click(DialogControl control) {
    switch (control) {
        case C::Img_BGM0:
            return Img_BGM_Click(0);
        case C::Img_BGM1:
            return Img_BGM_Click(1);
        case C::Img_BGM2:
            return Img_BGM_Click(2);
        case C::lbl_BGM0:
            return lbl_BGM_Click(0);
        case C::lbl_BGM1:
            return lbl_BGM_Click(1);
        case C::lbl_BGM2:
            return lbl_BGM_Click(2);
        case C::lbl_URL:
            return lbl_URL_Click();
        case C::Cmd_Set:
            return Cmd_Set_Click();
        case C::Cmd_Can:
            return Cmd_Can_Click();
        case C::Cmd_BGM:
            return Cmd_BGM_Click();
        default:
            return;
    }
}

MousePointer Pelluna_P::PointerOver(std::optional<DialogControl> control) const {
    if (m_Pointer == MousePointer::Hourglass) return m_Pointer;
    return control == C::lbl_URL ? MousePointer::PointingHand : MousePointer::Default;
}

void Pelluna_P::ChooseMusicKind(std::int16_t Index) {
    // A control that the choice disables gives the focus on to the next one that takes it.
    const auto focused = host_.FocusedControl();
    ShowMusicKind(Index);
    gBgmKind = Index;
    // Within the music kind the focus follows the choice, as it does among radio buttons.
    if (KindNamed(focused)) {
        host_.SetFocus(FocusRow());
    } else if (focused && !host_.IsEnabled(*focused)) {
        MoveFocus(focused, false);
    }
}

void Pelluna_P::StepMusicKind(DialogControl row, bool backwards) {
    const std::size_t count = kKindsOnScreen.size();
    const auto* at = std::find(kKindsOnScreen.begin(), kKindsOnScreen.end(), *KindNamed(row));
    const std::size_t index = static_cast<std::size_t>(at - kKindsOnScreen.begin());
    ChooseMusicKind(kKindsOnScreen[backwards ? (index + count - 1) % count : (index + 1) % count]);
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
