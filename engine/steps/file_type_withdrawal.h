#pragma once
// Taking back a file-type registration that a failed run made: the
// installed program undoes it itself when started with the switches the
// uninstaller uses.

#include <string>

namespace va {

class InstanceMutex;

// "<program>" /Unregister /Background, run in the program's folder with
// `mutex` released meanwhile (both waits handle this thread's messages).
// True when the program reported success and the mutex is owned again.
bool WithdrawFileTypes(const std::wstring& mainProgramPath, InstanceMutex& mutex);

}  // namespace va
