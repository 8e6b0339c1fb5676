#pragma once
// The fixed texts of "Uninstall.ulog" that both its writer and its reader know.

#include <string_view>

namespace va::log_text {

inline constexpr std::wstring_view kCommentPrefix = L"// ";
inline constexpr std::wstring_view kLineBreak = L"\r\n";
inline constexpr std::wstring_view kVersionLabel = L"Uninstall Log File v";
inline constexpr std::wstring_view kWarning =
    L"############ WARNING: Do not delete or modify this file. ############";
inline constexpr std::wstring_view kInstallLabel = L"Install";
inline constexpr std::wstring_view kInstallPathLabel = L"Install Path : ";
inline constexpr std::wstring_view kShortcutPathLabel = L"Shortcut Path : ";
inline constexpr std::wstring_view kUpdateSeparator = L"--";
// Followed by kUninstallRoot (identity/core/registry_locations.h), a
// backslash and the product key.
inline constexpr std::wstring_view kLocalMachinePrefix = L"HKEY_LOCAL_MACHINE\\";
inline constexpr std::wstring_view kFileTypesText = L"HKEY_CLASSES_ROOT\\...";

}  // namespace va::log_text
