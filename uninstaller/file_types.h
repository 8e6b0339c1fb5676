#pragma once
// The product's file types go the way they came: the installed main program
// takes back what it registered.

#include <windows.h>

#include <optional>
#include <string>

namespace va {
class InstanceMutex;
}

namespace va::uninstall {

// Runs `"program" /Unregister /Background` in the program's folder and waits
// for it, with `mutex` let go meanwhile (the program takes it for itself)
// and taken back afterwards; then tells the shell that associations
// changed.  The program's exit code, or nothing (with `error`) when it
// could not be started.
std::optional<DWORD> RunUnregistration(const std::wstring& program, InstanceMutex& mutex, DWORD& error);

}  // namespace va::uninstall
