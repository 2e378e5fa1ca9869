// Fuzz target: whole INI texts (code page 932 bytes) through the fake profile into LoadSettings.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "FakePlatform.h"
#include "FuzzSupport.h"
#include "common/Numbers.h"
#include "settings/SettingsStore.h"
#include "settings/SettingsValues.h"

namespace pelluna::fuzz {
namespace {

constexpr const char* kIni = "C:\\Program Files\\Pelluna\\Pelluna.ini";
// A music file that exists, so that a text naming it keeps file music on.
constexpr const char* kMusicFile = "C:\\Music\\\x89\x4A.mp3";  // 雨.mp3

struct Loaded {
    std::int32_t drops;
    float speed;
    float size;
    std::int16_t kind;
    std::int16_t repeat;
    std::wstring file;
    friend bool operator==(const Loaded&, const Loaded&) = default;
};

Loaded Load(testing::FakePlatform& fake) {
    testing::ResetProcessValues();
    fake.log.Clear();
    SettingsStore(fake.kernel, fake.text).LoadSettings();
    return Loaded{gDropsCount, gRippleSpeed, gRippleSize, gBgmKind, gBgmRepeatTrack, gBgmFile};
}

// The rules of the numbers module, checked on every number text the file holds.
void CheckNumbers(const std::wstring& text) {
    const std::optional<double> number = numbers::ParseDecimal(text);
    if (!number) return;
    Require(std::isfinite(*number), "a parsed number is finite");
    Require(numbers::ReadLeadingNumber(text) == *number,
            "a whole number reads the same as its leading number");
    if (const auto rounded = numbers::RoundToInt32(*number)) {
        const double off = std::fabs(*rounded - *number);
        Require(off < 0.5 || (off == 0.5 && *rounded % 2 == 0),
                "rounding goes to the nearest, a half to even");
    } else {
        Require(std::nearbyint(*number) < -2147483648.0 || std::nearbyint(*number) > 2147483647.0,
                "rounding fails only outside 32 bits");
    }
    if (const auto floored = numbers::FloorToInt16(*number)) {
        Require(*floored <= *number && *number < *floored + 1.0, "floor is the largest integer not above");
    }
    if (const auto single = numbers::ToSingle(*number)) {
        Require(std::isfinite(*single), "a converted single is finite");
        Require(std::fabs(*single - *number) <= std::fabs(*number) * 0x1p-24 + 0x1p-149,
                "a single is the nearest float");
    } else {
        Require(std::fabs(*number) > std::numeric_limits<float>::max(),
                "a single fails only beyond its range");
    }
}

// What the loader must make of one number key's text, from the numbers module's own answers.
template <class Value, class Convert>
Value Expected(const std::wstring& text, Value defaultValue, Convert convert) {
    if (text.empty()) return defaultValue;
    const std::optional<double> number = numbers::ParseDecimal(text);
    if (!number) return Value{};  // a text that is no number keeps the start value, zero
    return convert(*number).value_or(Value{});
}

}  // namespace
}  // namespace pelluna::fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace pelluna;
    using namespace pelluna::fuzz;

    testing::FakePlatform fake(932);
    fake.kernel.files[kIni] = std::string(AsText(data, size));
    fake.kernel.files[kMusicFile] = "ID3";
    const Loaded loaded = Load(fake);

    // Exactly the six keys, in order, each with an empty default and a 256-byte buffer.
    std::vector<std::string> reads;
    for (const std::string& call : fake.log.Calls()) {
        if (call.rfind("GetPrivateProfileStringA(", 0) == 0) reads.push_back(call);
    }
    const char* const keys[] = {"DropsCount",
                                "RippleSpeed",
                                "RippleSize",
                                "BGM\\x8B\\xE6\\x95\\xAA",
                                "BGM\\xD8\\xCB\\xDF\\xB0\\xC4",
                                "BGM\\xCC\\xA7\\xB2\\xD9"};
    Require(reads.size() == 6, "six keys are read");
    for (std::size_t i = 0; i < 6; ++i) {
        const std::string expected = std::string("GetPrivateProfileStringA(\"Section\", \"") + keys[i] +
                                     "\", \"\", 256, \"C:\\x5CProgram Files\\x5CPelluna\\x5CPelluna.ini\")";
        Require(reads[i] == expected, "each key is read in its turn with an empty default and 256 bytes");
    }
    const auto opens = fake.log.CallsTo("CreateFileA(");
    Require(opens.size() <= 1, "the music file is opened at most once");
    Require(fake.log.CallsTo("CloseHandle(").size() == (opens.size() == 1 && !loaded.file.empty() ? 1u : 0u),
            "an opened music file is closed again");
    Require(gFallSpeed == 800.0f && gFallAngle == -1.56f, "fall speed and angle are the fixed constants");

    // Each number as the numbers module reads the key's text; the file only when it exists.
    SettingsStore store(fake.kernel, fake.text);
    const std::wstring file = store.IniFilePath();
    const std::wstring dropsText = store.ReadIniValue(ini::Section, ini::DropsCount, file);
    const std::wstring speedText = store.ReadIniValue(ini::Section, ini::RippleSpeed, file);
    const std::wstring sizeText = store.ReadIniValue(ini::Section, ini::RippleSize, file);
    const std::wstring kindText = store.ReadIniValue(ini::Section, ini::BgmKind, file);
    const std::wstring repeatText = store.ReadIniValue(ini::Section, ini::BgmRepeat, file);
    const std::wstring fileText = store.ReadIniValue(ini::Section, ini::BgmFile, file);
    for (const std::wstring* text : {&dropsText, &speedText, &sizeText, &kindText, &repeatText}) {
        Require(text->size() <= 255, "a value is at most 255 bytes");
        CheckNumbers(*text);
    }
    Require(loaded.drops == Expected<std::int32_t>(dropsText, 25, numbers::RoundToInt32), "drops count");
    const float speed = Expected<float>(speedText, 100.0f, numbers::ToSingle);
    const float rippleSize = Expected<float>(sizeText, 100.0f, numbers::ToSingle);
    Require(loaded.speed == speed || (std::isnan(loaded.speed) && std::isnan(speed)), "ripple speed");
    Require(loaded.size == rippleSize || (std::isnan(loaded.size) && std::isnan(rippleSize)), "ripple size");
    Require(loaded.repeat == Expected<std::int16_t>(repeatText, 0, numbers::FloorToInt16), "repeat track");
    std::wstring_view opened = fileText;  // one trailing backslash is not part of the name
    if (!opened.empty() && opened.back() == L'\\') opened.remove_suffix(1);
    const bool fileExists = !fileText.empty() && fake.kernel.files.count(fake.text.ToAnsi(opened)) != 0;
    Require(loaded.file == (fileExists ? fileText : std::wstring()), "the music file only when it exists");
    const std::int16_t kind = Expected<std::int16_t>(kindText, 0, numbers::FloorToInt16);
    Require(loaded.kind == (kind == bgm_kind::MusicFile && !fileExists ? bgm_kind::None : kind),
            "file music needs a file");

    // What the dialog would write back loads as the same settings.
    const std::string saved = "C:\\Saved\\Pelluna.ini";
    const auto write = [&](std::wstring_view key, const std::wstring& value) {
        store.WriteIniValue(ini::Section, key, value, fake.text.FromAnsi(saved));
    };
    // The dialog writes whole numbers; others (and those beyond exact doubles) are not written back.
    const auto writable = [](float value) {
        return std::nearbyint(value) == value && std::fabs(value) < 0x1p53;
    };
    const bool whole = writable(loaded.speed) && writable(loaded.size);
    write(ini::DropsCount, numbers::WithLeadingBlank(loaded.drops));
    if (whole) {
        write(ini::RippleSpeed, numbers::WithLeadingBlank(static_cast<std::int64_t>(loaded.speed)));
        write(ini::RippleSize, numbers::WithLeadingBlank(static_cast<std::int64_t>(loaded.size)));
    }
    write(ini::BgmKind, numbers::WithLeadingBlank(loaded.kind));
    write(ini::BgmRepeat, numbers::WithLeadingBlank(loaded.repeat));
    write(ini::BgmFile, loaded.file);
    fake.kernel.files[kIni] = fake.kernel.files[saved];
    Loaded again = Load(fake);
    if (!whole) again.speed = loaded.speed, again.size = loaded.size;
    Require(again == loaded, "saved settings load back unchanged");
    return 0;
}
