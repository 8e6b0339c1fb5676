#include "uninstaller/core/log_writers.h"

#include <algorithm>
#include <cwctype>

namespace va::uninstall {
namespace {

bool SameSid(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return std::towupper(x) == std::towupper(y); });
}

bool IsAdministrative(std::wstring_view sid)
{
    constexpr std::wstring_view kTrusted[] = {
        L"S-1-5-32-544",  // Administrators
        L"S-1-5-18",      // SYSTEM
        L"S-1-5-80-956008885-3418522649-1831038044-1853292631-2271478464",  // TrustedInstaller
    };
    return std::any_of(std::begin(kTrusted), std::end(kTrusted), [sid](std::wstring_view t) { return SameSid(sid, t); });
}

}  // namespace

std::wstring UntrustedLogWriter(const LogAccess& access, std::wstring_view runningAccount)
{
    const bool ownerTrusted = IsAdministrative(access.owner) ||
                              (!runningAccount.empty() && SameSid(access.owner, runningAccount));
    if (!ownerTrusted)
        return access.owner.empty() ? std::wstring(L"S-1-3-0") : access.owner;
    if (!access.hasList)
        return L"S-1-1-0";
    constexpr std::wstring_view kOwnerRights = L"S-1-3-4";
    for (const LogAccessEntry& entry : access.entries) {
        if (!entry.allows || entry.inheritOnly || !(entry.mask & kLogChangingRights))
            continue;
        if (IsAdministrative(entry.sid) || SameSid(entry.sid, access.owner) || SameSid(entry.sid, kOwnerRights) ||
            (!runningAccount.empty() && SameSid(entry.sid, runningAccount)))
            continue;
        return entry.sid;
    }
    return {};
}

}  // namespace va::uninstall
