// Fuzz target: the settings dialog's save, fed stored values, the user's changes and track texts.
//
// Input lines:
//   ini TEXT          one line of the stored Pelluna.ini (code page 932 bytes), loaded before the dialog
//   opens drops N | speed N | size N      the user moves a scroll bar (a bar refuses a value outside its
//   range) kind N | label N  a click on the music-kind picture or its label number N track TEXT        the
//   text of the repeat-track box (code page 932 bytes) choose PATH | choose-cancel     the file chooser, with
//   the path picked or cancelled
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
    store.LoadSettings();
    const std::int32_t loadedDrops = gDropsCount;
    const float loadedSpeed = gRippleSpeed;

    Pelluna_P dialog(fake.ports, host, dialogs, shell);
    dialog.Load();
    for (const std::string_view line : lines) {
        std::string_view rest;
        if (Keyword(line, "drops", rest)) host.SetValue(C::HS_Num, IntegerIn<std::int32_t>(rest));
        if (Keyword(line, "speed", rest)) host.SetValue(C::HS_Fast, IntegerIn<std::int32_t>(rest));
        if (Keyword(line, "size", rest)) host.SetValue(C::HS_Size, IntegerIn<std::int32_t>(rest));
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
    dialog.Cmd_Set_Click();

    // The six keys, always, in their order, into the program's own file.
    std::vector<std::string> writes = fake.log.CallsTo("WritePrivateProfileStringA(");
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
        const std::string value = fake.text.ToAnsi(numbers::WithLeadingBlank(host.GetValue(bars[i].bar)));
        Require(writes[i] == write(bars[i].key, value), "each bar's key in its turn with the bar's value");
        Require(BarValue(value, bars[i].bar), "a bar's value lies in its range");
    }
    Require(writes[3] == write(ini::BgmKind, fake.text.ToAnsi(numbers::WithLeadingBlank(kind))),
            "the music kind chosen");
    Require(writes[4] == write(ini::BgmRepeat, fake.text.ToAnsi(numbers::WithLeadingBlank(gBgmRepeatTrack))),
            "the repeat track as the dialog keeps it");
    Require(writes[5] == write(ini::BgmFile, fake.text.ToAnsi(file)), "the music file as chosen");
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
    store.LoadSettings();
    Require(gDropsCount == host.GetValue(C::HS_Num) &&
                gRippleSpeed == static_cast<float>(host.GetValue(C::HS_Fast)) &&
                gRippleSize == static_cast<float>(host.GetValue(C::HS_Size)),
            "the bars' values load back");
    Require(gBgmRepeatTrack == repeat, "the repeat track loads back");
    if (kind != bgm_kind::MusicFile) Require(gBgmKind == kind, "the music kind loads back");
    return 0;
}
