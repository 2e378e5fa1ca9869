// The INI settings file beside the program: its path, reading and writing keys, loading the settings.
#include "settings/SettingsStore.h"

#include <array>
#include <cstring>
#include <optional>

#include "common/Numbers.h"
#include "settings/SettingsValues.h"

namespace pelluna {
namespace {

constexpr std::size_t kValueBufferSize = 256;
constexpr std::size_t kNameBufferSize = 128;
constexpr float kFallSpeed = 800.0f;
constexpr float kFallAngle = -1.56f;

// A section or key name as the system gets it: at most 127 ANSI bytes.
std::string NameBytes(Text& text, std::wstring_view name) {
    std::string bytes = text.ToAnsi(name);
    if (bytes.size() >= kNameBufferSize) bytes.resize(kNameBufferSize - 1);
    return bytes;
}

// Empty text gives the default; text that does not convert keeps the value as it is. The number read, when
// it gave the value.
template <class Value, class Convert>
std::optional<double> LoadNumber(SettingsStore& store, const std::wstring& file, std::wstring_view key,
                                 Value defaultValue, Value& value, Convert convert,
                                 std::wstring* read = nullptr) {
    const std::wstring text = store.ReadIniValue(ini::Section, key, file);
    if (read) *read = text;
    if (text.empty()) {
        value = defaultValue;
        return std::nullopt;
    }
    const std::optional<double> number = numbers::ParseDecimal(text);
    const std::optional<Value> converted = number ? convert(*number) : std::nullopt;
    if (!converted) return std::nullopt;
    value = *converted;
    return number;
}

}  // namespace

std::wstring SettingsStore::IniFilePath() {
    const std::wstring program = kernel_.GetModuleFileNameW();
    const std::size_t slash = program.find_last_of(L'\\');
    const std::wstring folder = slash == std::wstring::npos ? std::wstring() : program.substr(0, slash);
    return ReachableForm(folder).value_or(folder) + L"\\Pelluna.ini";
}

std::optional<std::wstring> SettingsStore::ReachableForm(const std::wstring& path) {
    if (CanReach(path)) return path;
    std::wstring shortPath = kernel_.GetShortPathNameW(path);
    if (!shortPath.empty() && CanReach(shortPath)) return shortPath;
    return std::nullopt;
}

std::optional<std::string> SettingsStore::ReachableBytes(std::wstring_view file) {
    bool lossy = false;
    std::string bytes = text_.ToAnsi(file, &lossy);
    if (lossy || text_.FromAnsi(bytes) != file) return std::nullopt;
    return bytes;
}

bool SettingsStore::CanReach(std::wstring_view file) {
    return ReachableBytes(file).has_value();
}

std::wstring SettingsStore::ReadIniValue(std::wstring_view section, std::wstring_view key,
                                         std::wstring_view file) {
    const std::optional<std::string> fileBytes = ReachableBytes(file);
    if (!fileBytes) return {};
    std::array<char, kValueBufferSize> buffer{};
    const std::string sectionBytes = text_.ToAnsi(section);
    const std::string keyBytes = text_.ToAnsi(key);
    kernel_.GetPrivateProfileStringA(sectionBytes.c_str(), keyBytes.c_str(), "", buffer.data(),
                                     static_cast<std::uint32_t>(buffer.size()), fileBytes->c_str());
    buffer.back() = '\0';  // a misbehaving system must not make us read past the buffer
    return text_.FromAnsi(std::string_view(buffer.data(), std::strlen(buffer.data())));
}

bool SettingsStore::WriteIniValue(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                                  std::wstring_view file) {
    const std::optional<std::string> fileBytes = ReachableBytes(file);
    const std::string sectionBytes = NameBytes(text_, section);
    const std::string keyBytes = NameBytes(text_, key);
    const std::string valueBytes = text_.ToAnsi(value);
    gApiResult = fileBytes && kernel_.WritePrivateProfileStringA(sectionBytes.c_str(), keyBytes.c_str(),
                                                                 valueBytes.c_str(), fileBytes->c_str())
                     ? 1
                     : 0;
    return gApiResult != 0;
}

bool SettingsStore::FileExists(std::wstring_view path) {
    if (!path.empty() && path.back() == L'\\') path.remove_suffix(1);
    const std::string pathBytes = text_.ToAnsi(path);
    const Handle file =
        kernel_.CreateFileA(pathBytes.c_str(), win::GENERIC_READ, win::FILE_SHARE_READ, win::OPEN_EXISTING);
    if (file == win::INVALID_HANDLE_VALUE) return false;
    kernel_.CloseHandle(file);
    return true;
}

void SettingsStore::LoadSettings(MusicFileCheck check) {
    const std::wstring file = IniFilePath();
    std::wstring dropsText;
    const auto drops = LoadNumber<std::int32_t>(*this, file, ini::DropsCount, 25, gDropsCount,
                                                numbers::RoundToInt32, &dropsText);
    gDropsCountText.clear();
    if (drops && *drops != gDropsCount) {
        const std::size_t first = dropsText.find_first_not_of(L" \t");
        gDropsCountText = dropsText.substr(first, dropsText.find_last_not_of(L" \t") + 1 - first);
    }
    LoadNumber<float>(*this, file, ini::RippleSpeed, 100.0f, gRippleSpeed, numbers::ToSingle);
    LoadNumber<float>(*this, file, ini::RippleSize, 100.0f, gRippleSize, numbers::ToSingle);
    gFallSpeed = kFallSpeed;
    gFallAngle = kFallAngle;
    LoadNumber<std::int16_t>(*this, file, ini::BgmKind, 0, gBgmKind, numbers::FloorToInt16);
    LoadNumber<std::int16_t>(*this, file, ini::BgmRepeat, 0, gBgmRepeatTrack, numbers::FloorToInt16);

    // A music file that cannot be read turns file music off for this run.
    gBgmFile = ReadIniValue(ini::Section, ini::BgmFile, file);
    if (check == MusicFileCheck::KeepStored) return;
    if (!gBgmFile.empty() && !FileExists(gBgmFile)) gBgmFile.clear();
    if (gBgmFile.empty() && gBgmKind == bgm_kind::MusicFile) gBgmKind = bgm_kind::None;
}

}  // namespace pelluna
