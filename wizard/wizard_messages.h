#pragma once
// The installer messages the wizard shows (offsets into the string blocks).

namespace va {

inline constexpr unsigned kMsgInstaller = 0;
inline constexpr unsigned kMsgOk = 1;
inline constexpr unsigned kMsgCancel = 2;
inline constexpr unsigned kMsgAbout = 3;
inline constexpr unsigned kMsgExit = 4;
inline constexpr unsigned kMsgBack = 5;
inline constexpr unsigned kMsgNext = 6;
inline constexpr unsigned kMsgInstall = 7;
inline constexpr unsigned kMsgBrowse = 8;
inline constexpr unsigned kMsgStartMenu = 9;
inline constexpr unsigned kMsgFolderSelection = 10;
inline constexpr unsigned kMsgSelectLanguage = 14;
inline constexpr unsigned kMsgInstallationMethod = 15;
inline constexpr unsigned kMsgQuickInstallation = 16;
inline constexpr unsigned kMsgAdvancedInstallation = 17;
inline constexpr unsigned kMsgInstallation = 100;
inline constexpr unsigned kMsgUpdateFromTo = 101;
inline constexpr unsigned kMsgAlreadyInstalled = 102;
inline constexpr unsigned kMsgNewerInstalled = 103;
inline constexpr unsigned kMsgConfirmReinstallation = 104;
inline constexpr unsigned kMsgContinueOrExit = 105;
inline constexpr unsigned kMsgClickToContinue = 106;
inline constexpr unsigned kMsgClickToExit = 107;
inline constexpr unsigned kMsgClickToInstall = 108;
inline constexpr unsigned kMsgCopyright = 109;
inline constexpr unsigned kMsgConfirmExit = 110;
inline constexpr unsigned kMsgSelectInstallFolder = 111;
inline constexpr unsigned kMsgMenuShortcut = 112;
inline constexpr unsigned kMsgDesktopShortcut = 113;
inline constexpr unsigned kMsgInstallationComplete = 120;
inline constexpr unsigned kMsgInstallationOptions = 122;
inline constexpr unsigned kMsgInstallationFolder = 123;
inline constexpr unsigned kMsgStartMenuShortcutSummary = 124;
inline constexpr unsigned kMsgDesktopShortcutSummary = 125;

}  // namespace va
