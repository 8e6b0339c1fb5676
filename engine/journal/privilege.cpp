#include "engine/journal/privilege.h"

#include <windows.h>

#include <optional>
#include <system_error>

#include "support/advapi.h"
#include "support/handles.h"

namespace va {
namespace {

struct TokenFunctions {
    decltype(::OpenProcessToken)* openToken;
    decltype(::LookupPrivilegeValueW)* lookup;
    decltype(::AdjustTokenPrivileges)* adjust;
};

// Kept once found; a failed lookup is tried again on the next call.
std::optional<TokenFunctions> FindTokenFunctions() noexcept
{
    try {
        VA_ADVAPI(OpenProcessToken);
        VA_ADVAPI(LookupPrivilegeValueW);
        VA_ADVAPI(AdjustTokenPrivileges);
        return TokenFunctions{pOpenProcessToken, pLookupPrivilegeValueW, pAdjustTokenPrivileges};
    } catch (const std::system_error&) {
        return std::nullopt;
    }
}

}  // namespace

bool SetPrivilege(const wchar_t* name, bool enable)
{
    const std::optional<TokenFunctions> functions = FindTokenFunctions();
    if (!functions)
        return false;
    const TokenFunctions& f = *functions;

    UniqueHandle token;
    if (!f.openToken(::GetCurrentProcess(), TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put()))
        return false;
    LUID luid{};
    if (!f.lookup(nullptr, name, &luid))
        return false;

    // The first call only yields the privilege's current state.
    TOKEN_PRIVILEGES single{};
    single.PrivilegeCount = 1;
    single.Privileges[0].Luid = luid;
    single.Privileges[0].Attributes = 0;
    TOKEN_PRIVILEGES previous{};
    DWORD previousSize = sizeof previous;
    ::SetLastError(ERROR_SUCCESS);
    if (!f.adjust(token.get(), FALSE, &single, sizeof previous, &previous, &previousSize) ||
        ::GetLastError() != ERROR_SUCCESS)
        return false;

    previous.PrivilegeCount = 1;
    previous.Privileges[0].Luid = luid;
    if (enable)
        previous.Privileges[0].Attributes |= SE_PRIVILEGE_ENABLED;
    else
        previous.Privileges[0].Attributes &= ~static_cast<DWORD>(SE_PRIVILEGE_ENABLED);
    ::SetLastError(ERROR_SUCCESS);
    return f.adjust(token.get(), FALSE, &previous, sizeof previous, nullptr, nullptr) &&
           ::GetLastError() == ERROR_SUCCESS;
}

}  // namespace va
