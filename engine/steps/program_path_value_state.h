#pragma once
// The program-path value as it was before a run wrote it, so that a run
// failing after the registry step can put it back.

#include <windows.h>

#include <string>

namespace va {

struct ProgramPathValueState {
    bool keyExisted = false;
    bool valueExisted = false;
    DWORD type = REG_NONE;
    std::string data;
};

ProgramPathValueState CaptureProgramPathValue();

// Puts the value back as captured: rewritten, or deleted with the maker's
// key when the run made the key (and it is empty again).  True on success.
bool RestoreProgramPathValue(const ProgramPathValueState& before);

}  // namespace va
