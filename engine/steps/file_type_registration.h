#pragma once
// The file-type registration, which the installed main program performs
// itself when started with the registration switches.

#include <string>

#include "identity/core/product_version.h"

namespace va {

class InstanceMutex;
class UninstallLog;

// What the installed program answers after a successful registration.
inline constexpr int kRegistrationSucceeded = -10;

// The program (quoted when it holds spaces), " /Register /Background" and,
// when `foundVersion` is not 0, " /update=" with it in 16 hexadecimal digits.
// Empty when the quoted program path does not fit in MAX_PATH characters.
std::wstring RegistrationCommandLine(const std::wstring& mainProgramPath, ProductVersion foundVersion);

// Journals the step, runs the program in its own folder with `mutex`
// released meanwhile and tells the shell that associations changed.  Both
// waits (for the program, then for the mutex, which another installer may
// hold meanwhile) handle this thread's messages.  True when the program
// exited with -10 and the mutex is owned again; when it could not be taken
// back, false with mutex.owned() false, and the caller must stop.
bool RegisterFileTypes(UninstallLog& log, const std::wstring& mainProgramPath,
                       ProductVersion foundVersion, InstanceMutex& mutex);

// Taking back a registration that a failed run made: the installed program
// undoes it itself when started with the switches the uninstaller uses,
// "<program>" /Unregister /Background, in its folder with `mutex` released
// meanwhile (both waits handle this thread's messages).  True when the
// program reported success and the mutex is owned again.
bool WithdrawFileTypes(const std::wstring& mainProgramPath, InstanceMutex& mutex);

}  // namespace va
