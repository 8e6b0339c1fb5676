#include "engine/placement/users_access.h"

#include "support/fault_point.h"
#include "support/handles.h"
#include "support/link_free_open.h"
#include "support/win_error.h"

namespace va {
namespace {

// The SID of an entry whose layout is header, mask, SID; nullptr for other
// layouts (object entries and the like), which are never taken for Users.
PSID SimpleEntrySid(void* ace)
{
    const auto* header = static_cast<const ACE_HEADER*>(ace);
    switch (header->AceType) {
    case ACCESS_ALLOWED_ACE_TYPE:
    case ACCESS_DENIED_ACE_TYPE:
    case SYSTEM_AUDIT_ACE_TYPE:
    case SYSTEM_ALARM_ACE_TYPE:
        break;
    default:
        return nullptr;
    }
    const DWORD sidOffset = offsetof(ACCESS_ALLOWED_ACE, SidStart);
    if (header->AceSize < sidOffset + 8)  // the fixed part of a SID
        return nullptr;
    PSID sid = &static_cast<ACCESS_ALLOWED_ACE*>(ace)->SidStart;
    const auto* raw = static_cast<const SID*>(sid);
    if (sidOffset + 8u + 4u * raw->SubAuthorityCount > header->AceSize || !advapi::IsValidSid(sid))
        return nullptr;
    return sid;
}

}  // namespace

advapi::UniqueSid UsersSid()
{
    SID_IDENTIFIER_AUTHORITY nt = SECURITY_NT_AUTHORITY;
    return advapi::AllocateAndInitializeSid(nt, 2, SECURITY_BUILTIN_DOMAIN_RID, DOMAIN_ALIAS_RID_USERS);
}

std::vector<BYTE> BuildUsersAccessList(PACL old, PSID users, DWORD mask, BYTE inheritance)
{
    DWORD count = 0;
    DWORD inUse = sizeof(ACL);
    if (old) {
        const ACL_SIZE_INFORMATION info = advapi::GetAclSizeInformation(old);
        count = info.AceCount;
        inUse = info.AclBytesInUse;
    }
    const DWORD sidLength = advapi::GetLengthSid(users);
    std::vector<BYTE> buffer(sidLength + inUse + 8);
    auto* acl = reinterpret_cast<PACL>(buffer.data());
    advapi::InitializeAcl(acl, static_cast<DWORD>(buffer.size()), ACL_REVISION);

    auto copy = [&](DWORD i) {
        void* ace = advapi::GetAce(old, i);
        PSID sid = SimpleEntrySid(ace);
        if (sid && advapi::EqualSid(sid, users))
            return;  // replaced by the one new entry
        advapi::AddAce(acl, ACL_REVISION, MAXDWORD, ace, static_cast<const ACE_HEADER*>(ace)->AceSize);
    };
    DWORD i = 0;
    for (; i < count; ++i) {
        if (static_cast<const ACE_HEADER*>(advapi::GetAce(old, i))->AceFlags & INHERITED_ACE)
            break;
        copy(i);
    }
    advapi::AddAccessAllowedAceEx(acl, ACL_REVISION, inheritance, mask, users);
    for (; i < count; ++i)
        copy(i);
    return buffer;
}

SECURITY_DESCRIPTOR_CONTROL CarriedProtection(SECURITY_DESCRIPTOR_CONTROL old) noexcept
{
    if (old & SE_DACL_AUTO_INHERITED)
        return SE_DACL_AUTO_INHERIT_REQ | SE_DACL_AUTO_INHERITED;
    if (old & SE_DACL_PROTECTED)
        return SE_DACL_PROTECTED;
    return 0;
}

bool GrantUsersAccess(const std::wstring& path, DWORD mask, BYTE inheritance)
{
    // The list is read and written through one handle, opened without
    // following a link and checked: a link, or a second name of a file
    // elsewhere, would hand the rights to whatever it stands for.
    UniqueFile item = OpenWithoutFollowing(path, READ_CONTROL | WRITE_DAC | FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE);
    if (!item)
        ThrowLastErrorAsHresult();
    ItemFacts facts{};
    if (const DWORD error = CheckNotLink(path, item.get(), facts); error != ERROR_SUCCESS)
        ThrowWin32(error == kLinkOnTheWay ? DWORD{ERROR_CANT_ACCESS_FILE} : error);
    if (!(facts.attributes & FILE_ATTRIBUTE_DIRECTORY) && facts.links > 1)
        ThrowWin32(ERROR_TOO_MANY_LINKS);

    const advapi::UniqueSid users = UsersSid();
    std::vector<BYTE> old = advapi::GetKernelObjectSecurity(item.get(), DACL_SECURITY_INFORMATION);
    PACL oldAcl = advapi::GetSecurityDescriptorDacl(old.data());
    std::vector<BYTE> acl = BuildUsersAccessList(oldAcl, users.get(), mask, inheritance);

    SECURITY_DESCRIPTOR descriptor;
    advapi::InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    advapi::SetSecurityDescriptorDacl(&descriptor, true, reinterpret_cast<PACL>(acl.data()), false);
    const SECURITY_DESCRIPTOR_CONTROL carried = CarriedProtection(advapi::GetSecurityDescriptorControl(old.data()));
    if (carried)
        advapi::SetSecurityDescriptorControl(&descriptor, carried, carried);
    if (FaultPoint("grant Users access", ERROR_ACCESS_DENIED) != ERROR_SUCCESS)
        ThrowLastErrorAsHresult();  // as the write below fails
    advapi::SetKernelObjectSecurity(item.get(), DACL_SECURITY_INFORMATION, &descriptor);
    return true;
}

}  // namespace va
