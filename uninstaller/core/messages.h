#pragma once
// The uninstaller's messages.  They are numbered like the installer's: message
// n is string 1000 + n in French and the language's block + n in the others
// (uninstaller/resources/strings/<language>.rc), so the installer's language
// table and fallbacks serve both programs.  The uninstaller's numbers start
// at 500, clear of the installer's.

namespace va::uninstall::message {

inline constexpr unsigned kTitle = 500;             // "Uninstaller"
inline constexpr unsigned kConfirm = 501;           // %1 product
inline constexpr unsigned kAskDataFiles = 502;      // %1 product, %2 the files
inline constexpr unsigned kLogMissing = 503;        // %1 product, %2 log
inline constexpr unsigned kLogDamaged = 504;        // %1 product, %2 log, %3 line
inline constexpr unsigned kInstallerRunning = 505;  // %1 product
inline constexpr unsigned kCloseProduct = 506;      // %1 product
inline constexpr unsigned kNoRights = 507;          // %1 product
inline constexpr unsigned kRemoving = 508;          // %1 product
inline constexpr unsigned kUnregistering = 510;
inline constexpr unsigned kRemovingKeys = 511;
inline constexpr unsigned kFileInUse = 512;         // %1 file
inline constexpr unsigned kRemoved = 513;           // %1 product
inline constexpr unsigned kRemovedAfterRestart = 514;  // %1 product
inline constexpr unsigned kNotRemoved = 515;        // %1 product, %2 what is left
inline constexpr unsigned kDataKept = 516;          // %1 the files
inline constexpr unsigned kLeftItems = 517;         // %1 what was left on purpose
inline constexpr unsigned kLeftNotEmpty = 521;      // %1 path
inline constexpr unsigned kLeftOutside = 522;       // %1 path
inline constexpr unsigned kLeftThroughLink = 523;   // %1 path
inline constexpr unsigned kLeftAtRestart = 524;     // %1 path
inline constexpr unsigned kLeftError = 525;         // %1 path, %2 code, %3 error text
inline constexpr unsigned kLeftUnfinished = 526;    // %1 path
inline constexpr unsigned kFileTypesNoProgram = 527;  // %1 program
inline constexpr unsigned kFileTypesFailed = 528;   // %1 program, %2 its exit code
inline constexpr unsigned kRegistryEntries = 529;   // %1 product: what the keys step is called
inline constexpr unsigned kBadSwitch = 530;         // %1 the argument
inline constexpr unsigned kUsage = 531;
inline constexpr unsigned kLogFileFailed = 532;     // %1 file, %2 error text
inline constexpr unsigned kMoreLeft = 536;          // %1 count
inline constexpr unsigned kInterruptedRunUndone = 537;     // %1 product
inline constexpr unsigned kInterruptedRunNotUndone = 538;  // %1 product, %2 journal or folder, %3 error text

}  // namespace va::uninstall::message
