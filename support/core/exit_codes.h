#pragma once
// Process exit codes of the product's set-up programs (the installer's
// unattended mode and the uninstaller), one per outcome a deployment script
// must tell apart.  Where the system's own installer service has a code for
// the outcome, it is that code, so scripts written for it read ours alike.

namespace va::exit_code {

inline constexpr int kSuccess = 0;
inline constexpr int kUnsupportedProcessor = 1;   // no SSE2 (the three-language box)
inline constexpr int kStartupFailed = -11;        // "Initialization Error"
inline constexpr int kBadCommandLine = 87;        // ERROR_INVALID_PARAMETER; also a log that cannot be made
inline constexpr int kProductRunning = 170;       // ERROR_BUSY: the product must be closed first
inline constexpr int kNoAdministrator = 740;      // ERROR_ELEVATION_REQUIRED
inline constexpr int kCancelled = 1602;           // ERROR_INSTALL_USEREXIT: the user left, nothing changed
inline constexpr int kFailed = 1603;              // ERROR_INSTALL_FAILURE
inline constexpr int kNotInstalled = 1605;        // ERROR_UNKNOWN_PRODUCT: no uninstall log
inline constexpr int kDamagedLog = 1610;          // ERROR_BAD_CONFIGURATION: the uninstall log is unreadable
inline constexpr int kAnotherInstaller = 1618;    // ERROR_INSTALL_ALREADY_RUNNING
inline constexpr int kNewerInstalled = 1638;      // ERROR_PRODUCT_VERSION
inline constexpr int kRestartNeeded = 3010;       // ERROR_SUCCESS_REBOOT_REQUIRED: done, a restart finishes it

// Every code above, for those that describe them to deployment tools.
inline constexpr int kAll[] = {
    kSuccess, kUnsupportedProcessor, kStartupFailed, kBadCommandLine, kProductRunning, kNoAdministrator, kCancelled,
    kFailed,  kNotInstalled,         kDamagedLog,    kAnotherInstaller, kNewerInstalled, kRestartNeeded,
};

}  // namespace va::exit_code
