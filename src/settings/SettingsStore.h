// The INI settings file beside the program: its path, reading and writing keys, loading the settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/Kernel.h"
#include "platform/Text.h"

namespace pelluna {

namespace ini {
inline constexpr std::wstring_view Section = L"Section";
inline constexpr std::wstring_view DropsCount = L"DropsCount";
inline constexpr std::wstring_view RippleSpeed = L"RippleSpeed";
inline constexpr std::wstring_view RippleSize = L"RippleSize";
inline constexpr std::wstring_view BgmKind = L"BGM区分";
inline constexpr std::wstring_view BgmRepeat = L"BGMﾘﾋﾟｰﾄ";
inline constexpr std::wstring_view BgmFile = L"BGMﾌｧｲﾙ";
}  // namespace ini

// Whether loading turns file music off when the music file cannot be opened now: the saver does, for its
// own run; the settings dialog keeps the stored choice, so that saving does not wipe it.
enum class MusicFileCheck { ForThisRun, KeepStored };

class SettingsStore {
  public:
    SettingsStore(Kernel& kernel, Text& text) : kernel_(kernel), text_(text) {}

    // The program's folder followed by "\Pelluna.ini"; a folder that the ANSI code page cannot write is
    // given in its short form, when it has one that it can.
    std::wstring IniFilePath();
    // Whether the file's path passes through the ANSI code page unchanged, as the profile calls need. A
    // path that does not is neither read (its values are empty) nor written: a character that has no ANSI
    // form, or only a look-alike, would name another file or none.
    bool CanReach(std::wstring_view file);
    // The path itself, or its short form where only that passes the ANSI code page unchanged; none when
    // neither does.
    std::optional<std::wstring> ReachableForm(const std::wstring& path);
    // The key's text, cut to 255 ANSI bytes; empty when the key, section or file is missing.
    std::wstring ReadIniValue(std::wstring_view section, std::wstring_view key, std::wstring_view file);
    // Writes the key; the system's success flag goes to gApiResult and is returned.
    bool WriteIniValue(std::wstring_view section, std::wstring_view key, std::wstring_view value,
                       std::wstring_view file);
    // Whether the file can be opened for reading (one trailing backslash ignored).
    bool FileExists(std::wstring_view path);
    // Fills the process-wide settings values from the INI file.
    void LoadSettings(MusicFileCheck check = MusicFileCheck::ForThisRun);

  private:
    // The path's ANSI bytes when they name it exactly; none otherwise.
    std::optional<std::string> ReachableBytes(std::wstring_view file);

    Kernel& kernel_;
    Text& text_;
};

}  // namespace pelluna
