#pragma once
// The installer's messages that code names by number.  Message n is French
// string kFrenchStringBase + n (languages/core/language_table.h); its
// text in the interface language comes from InstallerMessage.

namespace va {

inline constexpr int kMessageOk = 11;
inline constexpr int kMessageFailed = 12;
inline constexpr int kMessageUninstallShortcut = 13;  // "%1" = product name without version
inline constexpr int kMessageNewerInstalled = 103;   // "%1" = the installed version
inline constexpr int kMessageCopyingFile = 115;       // "%1" = the file's path
inline constexpr int kMessageShortcutsStep = 117;
inline constexpr int kMessageRegistryStep = 118;
inline constexpr int kMessageNoRights = 126;
inline constexpr int kMessageCloseProduct = 127;      // "%1" = product name without version
inline constexpr int kMessageNoInstallerTexts = 129;  // "%1" = product name without version
inline constexpr int kMessageDirectXStep = 131;
inline constexpr int kMessageBadCommandLine = 140;   // "%1" = the refused argument
inline constexpr int kMessageUsage = 141;            // "%1" = the installer's file name
inline constexpr int kMessageLogFileFailed = 142;    // "%1" = the file, "%2" = the system's error text

}  // namespace va
