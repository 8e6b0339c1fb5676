#include "support/system_checks.h"

#include <shlwapi.h>

#include <stdexcept>

#include "support/advapi.h"
#include "support/dll_search_order.h"
#include "support/handles.h"

namespace va {

void CheckProcessor(ProcessorFeatureQuery featurePresent)
{
    if (featurePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE)) {
        ProcessorSupported = true;
        return;
    }
    // No string table can be trusted this early: the three texts are fixed.
    if (!StartupBoxesSilenced)
        ::MessageBoxW(nullptr,
                      L"This Version is not compatible with your Configuration.\n\n"
                      L"Cette version n'est pas compatible avec votre configuration.\n\n"
                      L"Diese Version ist nicht mit Ihrer Konfiguration kompatibel.",
                      nullptr, MB_ICONERROR);
    ::ExitProcess(1);
}

DWORD CommonControlsVersion()
{
    // Loaded here, it stays: the programs call it later
    // (system_library_imports.cpp), and unloading it would leave its window
    // classes behind.
    HMODULE module = ::GetModuleHandleW(L"Comctl32.dll");
    if (!module)
        module = LoadSystemLibrary(L"Comctl32.dll");
    if (!module)
        return 0;
    auto* getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
    if (!getVersion)
        return 0;
    DLLVERSIONINFO info{};
    info.cbSize = sizeof(info);
    if (FAILED(getVersion(&info)))
        return 0;
    return info.dwMajorVersion * 65536 + info.dwMinorVersion;
}

void CheckCommonControls(CommonControlsVersionQuery version)
{
    if (version() < 0x60000)
        throw std::logic_error("logic error");
}

bool IsAdministrator()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    advapi::UniqueSid admins = advapi::AllocateAndInitializeSid(
        nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_ADMINS);
    return advapi::CheckTokenMembership(nullptr, admins.get());
}

}  // namespace va
