// Fuzz target: the settings dialog's save, fed stored values, the user's changes and track texts.
//
// Input lines:
//   ini TEXT          one line of the stored Pelluna.ini (code page 932 bytes), loaded before the dialog
//   opens drops N | speed N | size N      the user drags a scroll bar's thumb to N (kept within the bar's
//   range) kind N | label N  a click on the music-kind picture or its label number N track TEXT        the
//   text of the repeat-track box (code page 932 bytes) choose PATH | choose-cancel     the file chooser, with
//   the path picked or cancelled fail N            the settings file takes the first N - 1 writes, then
//   refuses every write
// Then the user confirms with Cmd_Set.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "FakeDialogHost.h"
#include "FakePlatform.h"
#include "FakeShell.h"
#include "FuzzSupport.h"
#include "common/Numbers.h"
#include "settings/DialogLayout.h"
#include "settings/Pelluna_P.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

namespace pelluna::fuzz {
namespace {

using C = DialogControl;

// A scroll bar's value as written: a blank, then a number within the bar's range.
bool BarValue(const std::string& written, C bar) {
    const LayoutEntry* layout = FindControl(bar);
    if (layout == nullptr || written.size() < 2 || written[0] != ' ') return false;
    if (written.find_first_not_of("0123456789", 1) != std::string::npos || written.size() > 5) return false;
    const int value = std::stoi(written.substr(1));
    return value >= layout->min && value <= layout->max;
}

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    testing::ResetProcessValues();
    testing::FakePlatform fake(932);
    testing::FakeDialogHost host(fake.log);
    testing::FakeCommonDialogs dialogs(fake.log);
    testing::FakeShell shell(fake.log);
    SettingsStore store(fake.kernel, fake.text);
    const std::string iniPath = fake.text.ToAnsi(store.IniFilePath());
    fake.kernel.files["C:\\Music\\\x89\x4A.mp3"] = "ID3";  // 雨.mp3, so a stored music file can exist

    const std::vector<std::string_view> lines = Lines(AsText(data, size));
    std::string ini;
    for (const std::string_view line : lines) {
        std::string_view rest;
        if (Keyword(line, "ini", rest)) ini.append(rest).append("\r\n");
    }
    if (!ini.empty()) fake.kernel.files[iniPath] = ini;
    store.LoadSettings(MusicFileCheck::KeepStored);
    const std::int32_t loadedDrops = gDropsCount;
    const float loadedSpeed = gRippleSpeed;
    const float loadedSize = gRippleSize;
    // A count with decimals is written back as the file wrote it.
    const std::wstring drops = gDropsCountText.empty()
                                   ? numbers::WithLeadingBlank(gDropsCount)
                                   : (gDropsCountText[0] == L'-' ? L"" : L" ") + gDropsCountText;
    const std::wstring stored[] = {drops, numbers::SingleWithLeadingBlank(gRippleSpeed),
                                   numbers::SingleWithLeadingBlank(gRippleSize)};
    const C barControls[] = {C::HS_Num, C::HS_Fast, C::HS_Size};

    Pelluna_P dialog(fake.ports, host, dialogs, shell);
    dialog.Load();
    // Every bar writes back the value it was loaded with, as it was loaded, until the user moves the bar; any
    // move, even one that leaves the thumb where it was, saves the bar's value.
    bool writesStored[3] = {true, true, true};
    const auto drag = [&](std::size_t i, std::string_view to) {
        dialog.HS_Scroll(barControls[i], win::SB_THUMBPOSITION, IntegerIn<std::int32_t>(to));
        writesStored[i] = false;
    };
    for (const std::string_view line : lines) {
        std::string_view rest;
        if (Keyword(line, "drops", rest)) drag(0, rest);
        if (Keyword(line, "speed", rest)) drag(1, rest);
        if (Keyword(line, "size", rest)) drag(2, rest);
        if (Keyword(line, "fail", rest)) fake.kernel.failingWrite = IntegerIn<int>(rest);
        if (Keyword(line, "kind", rest)) dialog.Img_BGM_Click(IntegerIn<std::int16_t>(rest));
        if (Keyword(line, "label", rest)) dialog.lbl_BGM_Click(IntegerIn<std::int16_t>(rest));
        if (Keyword(line, "track", rest)) host.texts[C::BGM_Repeat] = fake.text.FromAnsi(rest);
        if (Keyword(line, "choose", rest)) {
            dialogs.chosenFile = std::string(rest);
            dialog.Cmd_BGM_Click();
        }
        if (line == "choose-cancel") {
            dialogs.chosenFile.reset();
            dialog.Cmd_BGM_Click();
        }
    }
    const std::int16_t kind = gBgmKind;
    const std::wstring file = gBgmFile;
    fake.log.Clear();
    fake.user.messageBoxTexts.clear();
    dialog.Cmd_Set_Click();

    // A refused write ends the save there: told once, the dialog stays open.
    std::vector<std::string> writes = fake.log.CallsTo("WritePrivateProfileStringA(");
    if (fake.kernel.failingWrite >= 1 && fake.kernel.failingWrite <= 6) {
        Require(writes.size() == static_cast<std::size_t>(fake.kernel.failingWrite),
                "the writes stop at a failure");
        Require(fake.user.messageBoxTexts.size() == 1 && !host.unloaded,
                "a failed save is told, the dialog stays");
        return 0;
    }
    // The six keys, always, in their order, into the program's own file.
    Require(writes.size() == 6, "the six keys are written");
    const auto write = [&](std::wstring_view key, const std::string& value) {
        return testing::Call("WritePrivateProfileStringA", testing::Quote("Section"),
                             testing::Quote(fake.text.ToAnsi(key)), testing::Quote(value),
                             testing::Quote(iniPath));
    };
    const struct {
        std::wstring_view key;
        C bar;
    } bars[] = {{ini::DropsCount, C::HS_Num}, {ini::RippleSpeed, C::HS_Fast}, {ini::RippleSize, C::HS_Size}};
    for (std::size_t i = 0; i < 3; ++i) {
        if (writesStored[i]) {
            Require(writes[i] == write(bars[i].key, fake.text.ToAnsi(stored[i])), "an unshown value is kept");
            continue;
        }
        const std::string value = fake.text.ToAnsi(numbers::WithLeadingBlank(host.GetValue(bars[i].bar)));
        Require(writes[i] == write(bars[i].key, value), "each bar's key in its turn with the bar's value");
        Require(BarValue(value, bars[i].bar), "a bar's value lies in its range");
    }
    Require(writes[3] == write(ini::BgmKind, fake.text.ToAnsi(numbers::WithLeadingBlank(kind))),
            "the music kind chosen");
    Require(writes[4] == write(ini::BgmRepeat, fake.text.ToAnsi(numbers::WithLeadingBlank(gBgmRepeatTrack))),
            "the repeat track as the dialog keeps it");
    // A stored path that grew in the code page's conversion is cut between characters to what loads back.
    std::wstring kept = file;
    while (fake.text.ToAnsi(kept).size() > 255) kept.pop_back();
    Require(writes[5] == write(ini::BgmFile, fake.text.ToAnsi(kept)), "the music file as chosen");
    Require(host.unloaded, "the dialog closes after saving");
    Require(gDropsCount == loadedDrops && (gRippleSpeed == loadedSpeed || std::isnan(gRippleSpeed)),
            "the numbers in memory stay as loaded");

    // The repeat track from its text: blanks around a plain number of up to four digits are its value,
    // and text that is no number is no repeat.
    const std::wstring trackText = host.texts[C::BGM_Repeat];
    const std::size_t first = trackText.find_first_not_of(L" \t");
    const std::size_t last = trackText.find_last_not_of(L" \t");
    const std::wstring trimmed =
        first == std::wstring::npos ? L"" : trackText.substr(first, last - first + 1);
    if (!trimmed.empty() && trimmed.size() <= 4 &&
        trimmed.find_first_not_of(L"0123456789") == std::wstring::npos) {
        Require(gBgmRepeatTrack == std::stoi(trimmed), "a plain track number is kept");
    }
    if (trimmed.empty() || trimmed.find_first_of(L"0123456789") == std::wstring::npos) {
        Require(gBgmRepeatTrack == 0, "a track text without digits means no repeat");
    }

    // What was saved loads back.
    const std::int16_t repeat = gBgmRepeatTrack;
    testing::ResetProcessValues();
    store.LoadSettings(MusicFileCheck::KeepStored);
    const auto bar = [&](std::size_t i) { return static_cast<float>(host.GetValue(barControls[i])); };
    Require(gDropsCount == (writesStored[0] ? loadedDrops : host.GetValue(C::HS_Num)) &&
                gRippleSpeed == (writesStored[1] ? loadedSpeed : bar(1)) &&
                gRippleSize == (writesStored[2] ? loadedSize : bar(2)),
            "the bars' values load back");
    Require(gBgmRepeatTrack == repeat, "the repeat track loads back");
    Require(gBgmKind == kind, "the music kind loads back, even with a file that cannot be opened");
    Require(fake.text.ToAnsi(gBgmFile).size() <= 255, "the music file's path fits the settings file whole");
    return 0;
}
