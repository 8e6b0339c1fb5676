#include "support/program_path.h"

#include <windows.h>

#include <cstdlib>

namespace va {

std::wstring ProgramPath()
{
    // The runtime records it for programs with a wide entry point.
    const wchar_t* recorded = _wpgmptr;
    if (recorded && *recorded)
        return recorded;

    wchar_t buffer[260] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 260);
    return std::wstring(buffer, length < 260 ? length : 259);
}

}  // namespace va
