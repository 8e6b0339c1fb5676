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

struct Unregistration {
    std::optional<DWORD> exitCode;  // nothing when the program could not be started
    DWORD error = ERROR_SUCCESS;    // why it could not be started, or why the mutex was not taken back
    bool mutexTakenBack = false;
};

// Runs `"program" /Unregister /Background` in the program's folder and waits
// for it, with `mutex` let go meanwhile (the program takes it for itself);
// the mutex is then waited for, as long as another installer holds it, the
// window repainting meanwhile.  Then tells the shell that associations
// changed.
Unregistration RunUnregistration(const std::wstring& program, InstanceMutex& mutex);

}  // namespace va::uninstall
