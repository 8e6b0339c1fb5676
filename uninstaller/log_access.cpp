#include "uninstaller/log_access.h"

#include <windows.h>
#include <sddl.h>

#include <vector>

#include "support/advapi.h"
#include "support/handles.h"
#include "support/link_free_open.h"

namespace va::uninstall {
namespace {

std::wstring SidText(PSID sid)
{
    VA_ADVAPI(ConvertSidToStringSidW);
    wchar_t* text = nullptr;
    if (!sid || !pConvertSidToStringSidW(sid, &text))
        return {};
    const UniqueLocal owned(text);
    return text;
}

// The SID of an allowing or denying entry; nullptr for other layouts.
PSID EntrySid(void* ace)
{
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE && header->AceType != ACCESS_DENIED_ACE_TYPE)
        return nullptr;
    if (header->AceSize < offsetof(ACCESS_ALLOWED_ACE, SidStart) + 8)
        return nullptr;
    PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
    return advapi::IsValidSid(sid) ? sid : nullptr;
}

}  // namespace

bool ReadLogAccess(const std::wstring& path, LogAccess& access)
{
    try {
        UniqueFile file = OpenWithoutFollowing(path, READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
        if (!file)
            return false;
        std::vector<BYTE> descriptor =
            advapi::GetKernelObjectSecurity(file.get(), OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION);
        VA_ADVAPI(GetSecurityDescriptorOwner);
        VA_ADVAPI(GetSecurityDescriptorDacl);
        PSID owner = nullptr;
        BOOL defaulted = FALSE;
        if (!pGetSecurityDescriptorOwner(descriptor.data(), &owner, &defaulted))
            return false;
        BOOL present = FALSE;
        PACL list = nullptr;
        if (!pGetSecurityDescriptorDacl(descriptor.data(), &present, &list, &defaulted))
            return false;
        access = {};
        access.owner = SidText(owner);
        access.hasList = present && list;
        if (!access.hasList)
            return true;
        const ACL_SIZE_INFORMATION size = advapi::GetAclSizeInformation(list);
        for (DWORD i = 0; i < size.AceCount; ++i) {
            void* ace = advapi::GetAce(list, i);
            const auto* header = static_cast<const ACE_HEADER*>(ace);
            PSID sid = EntrySid(ace);
            LogAccessEntry entry;
            entry.allows = header->AceType == ACCESS_ALLOWED_ACE_TYPE;
            entry.inheritOnly = (header->AceFlags & INHERIT_ONLY_ACE) != 0;
            if (!sid) {
                // An entry of another layout that allows: who it is for is
                // not read here, so it counts as anyone.
                if (header->AceType == ACCESS_ALLOWED_CALLBACK_ACE_TYPE ||
                    header->AceType == ACCESS_ALLOWED_OBJECT_ACE_TYPE) {
                    entry.sid = L"S-1-1-0";
                    entry.mask = static_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask;
                    access.entries.push_back(entry);
                }
                continue;
            }
            entry.sid = SidText(sid);
            entry.mask = static_cast<ACCESS_ALLOWED_ACE*>(ace)->Mask;
            access.entries.push_back(entry);
        }
        return true;
    } catch (...) {
        return false;
    }
}

std::wstring RunningAccountSid()
{
    const std::vector<BYTE> user = advapi::ProcessTokenUser();
    if (user.empty())
        return {};
    return SidText(reinterpret_cast<const TOKEN_USER*>(user.data())->User.Sid);
}

}  // namespace va::uninstall
