#include <system_error>

#include "engine/uninstall_log.h"
#include "support/advapi.h"
#include "support/handles.h"

namespace va {
namespace {

template <class F>
F* Lookup(const char* name) noexcept
{
    try {
        return reinterpret_cast<F*>(reinterpret_cast<void*>(ResolveExport(L"advapi32.dll", name)));
    } catch (const std::system_error&) {
        return nullptr;
    }
}

// Kept once found; a failed lookup is tried again on the next call.
template <class F>
F* Kept(F*& slot, const char* name) noexcept
{
    if (!slot)
        slot = Lookup<F>(name);
    return slot;
}

decltype(::OpenProcessToken)* gOpenProcessToken = nullptr;
decltype(::LookupPrivilegeValueW)* gLookupPrivilegeValueW = nullptr;
decltype(::AdjustTokenPrivileges)* gAdjustTokenPrivileges = nullptr;

}  // namespace

bool SetPrivilege(const wchar_t* name, bool enable)
{
    auto* openToken = Kept(gOpenProcessToken, "OpenProcessToken");
    auto* lookup = Kept(gLookupPrivilegeValueW, "LookupPrivilegeValueW");
    auto* adjust = Kept(gAdjustTokenPrivileges, "AdjustTokenPrivileges");
    if (!openToken || !lookup || !adjust)
        return false;

    UniqueHandle token;
    if (!openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
        return false;
    LUID luid{};
    if (!lookup(nullptr, name, &luid))
        return false;

    // The first call only yields the privilege's current state.
    TOKEN_PRIVILEGES single{};
    single.PrivilegeCount = 1;
    single.Privileges[0].Luid = luid;
    single.Privileges[0].Attributes = 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = sizeof previous;
    ::SetLastError(ERROR_SUCCESS);
    if (!adjust(token.get(), FALSE, &single, sizeof previous, &previous, &previousSize) ||
        ::GetLastError() != ERROR_SUCCESS)
        return false;

    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = luid;
    if (enable)
        previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    else
        previous.Privileges[0].Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    ::SetLastError(ERROR_SUCCESS);
    return adjust(token.get(), FALSE, &previous, sizeof previous, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace va
