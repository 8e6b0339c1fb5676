#pragma once
// The installer's messages that code names by number, for the wizard, the
// transaction and the steps alike.  Message n is French string
// kFrenchStringBase + n (languages/core/language_table.h); its text in the
// interface language comes from InstallerMessage.

namespace va {

enum MessageNumber : int {
    kMessageInstaller = 0,
    kMessageOkButton = 1,
    kMessageCancel = 2,
    kMessageAbout = 3,
    kMessageExit = 4,
    kMessageBack = 5,
    kMessageNext = 6,                        // inserted into kMessageClickToContinue
    kMessageInstall = 7,
    kMessageBrowse = 8,
    kMessageStartMenu = 9,
    kMessageFolderSelection = 10,
    kMessageOk = 11,
    kMessageFailed = 12,
    kMessageUninstallShortcut = 13,          // "%1" = product name without version
    kMessageSelectLanguage = 14,
    kMessageInstallationMethod = 15,
    kMessageQuickInstallation = 16,
    kMessageAdvancedInstallation = 17,
    kMessageSamplesFolder = 18,              // "%1" = product name without version
    kMessageInstallation = 100,
    kMessageUpdateFromTo = 101,
    kMessageAlreadyInstalled = 102,
    kMessageNewerInstalled = 103,            // "%1" = the installed version
    kMessageConfirmReinstallation = 104,
    kMessageContinueOrExit = 105,
    kMessageClickToContinue = 106,           // "%1" = kMessageNext
    kMessageClickToExit = 107,
    kMessageClickToInstall = 108,
    kMessageCopyright = 109,
    kMessageConfirmExit = 110,
    kMessageSelectInstallFolder = 111,
    kMessageMenuShortcut = 112,
    kMessageDesktopShortcut = 113,
    kMessagePreparing = 114,
    kMessageCopyingFile = 115,               // "%1" = the file's path
    kMessageShortcutsStep = 117,
    kMessageRegistryStep = 118,
    kMessageInstallationData = 119,
    kMessageInstallationComplete = 120,
    kMessageInstallFailed = 121,             // "%1" = the error-code text
    kMessageInstallationOptions = 122,
    kMessageInstallationFolder = 123,
    kMessageStartMenuShortcutSummary = 124,
    kMessageDesktopShortcutSummary = 125,
    kMessageNoRights = 126,
    kMessageCloseProduct = 127,              // "%1" = product name without version
    kMessageNoInstallerTexts = 129,          // "%1" = product name without version
    kMessageDirectXStep = 131,
    kMessageBadCommandLine = 140,            // "%1" = the refused argument
    kMessageUsage = 141,                     // "%1" = the installer's file name
    kMessageLogFileFailed = 142,             // "%1" = the file, "%2" = the system's error text
    kMessageInterruptedRunUndone = 143,      // "%1" = product name without version
    kMessageInterruptedRunNotUndone = 144,   // "%1" = product, "%2" = the journal or folder, "%3" = error text
};

}  // namespace va
