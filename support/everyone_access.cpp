#include "support/everyone_access.h"

namespace va {

EveryoneAccess::EveryoneAccess(DWORD accessMask)
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    everyone_ = advapi::AllocateAndInitializeSid(world, 1, SECURITY_WORLD_RID);

    // Header, one access-allowed entry (header and mask) and the SID itself.
    const DWORD length = advapi::GetLengthSid(everyone_.get()) + 16;
    acl_.assign((length + sizeof(DWORD) - 1) / sizeof(DWORD), 0);
    auto* acl = reinterpret_cast<PACL>(acl_.data());
    advapi::InitializeAcl(acl, length, ACL_REVISION);
    advapi::AddAccessAllowedAce(acl, ACL_REVISION, accessMask, everyone_.get());

    advapi::InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION);
    advapi::SetSecurityDescriptorDacl(&descriptor_, true, acl, false);

    attributes_.nLength = sizeof(attributes_);
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
}

}  // namespace va
