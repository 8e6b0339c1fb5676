#pragma once
// The installer's messages that code names by number.  Message n is French
// string kFrenchStringBase + n (app/languages/core/language_table.h); its
// text in the interface language comes from InstallerMessage.

namespace va {

inline constexpr int kMessageOk = 11;
inline constexpr int kMessageFailed = 12;
inline constexpr int kMessageUninstallShortcut = 13;  // "%1" = product name without version
inline constexpr int kMessageCopyingFile = 115;       // "%1" = the file's path
inline constexpr int kMessageShortcutsStep = 117;
inline constexpr int kMessageRegistryStep = 118;
inline constexpr int kMessageNoRights = 126;
inline constexpr int kMessageCloseProduct = 127;      // "%1" = product name without version
inline constexpr int kMessageNoInstallerTexts = 129;  // "%1" = product name without version
inline constexpr int kMessageDirectXStep = 131;

}  // namespace va
