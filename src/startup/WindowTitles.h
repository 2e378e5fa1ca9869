// The titles by which one process of the program finds another's windows.
#pragma once

#include <string_view>

namespace pelluna {

inline constexpr std::wstring_view kSaverWindowTitle = L"Pelluna_Main";
inline constexpr std::wstring_view kSettingsDialogTitle = L"Pellunaの設定";
// The settings dialog's title where the program speaks English.
inline constexpr std::wstring_view kSettingsDialogTitleEnglish = L"Pelluna Settings";

}  // namespace pelluna
