#pragma once
// The security functions of advapi32.dll that the support library needs,
// looked up on first use and kept.  A library that cannot be loaded raises
// E_UNEXPECTED, a missing export E_NOTIMPL, a failing call the HRESULT of its
// last error.

#include <windows.h>

#include "support/handles.h"

namespace va {

// Address of `name` in `module` (taken if loaded, loaded otherwise and kept).
FARPROC ResolveExport(const wchar_t* module, const char* name);

namespace advapi {

struct SidTraits {
    using pointer = PSID;
    static pointer empty() noexcept { return nullptr; }
    static void close(pointer sid) noexcept;
};
using UniqueSid = UniqueResource<SidTraits>;

UniqueSid AllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD sub0,
                                   DWORD sub1 = 0);
bool CheckTokenMembership(HANDLE token, PSID sid);
DWORD GetLengthSid(PSID sid);
void InitializeAcl(PACL acl, DWORD length, DWORD revision);
void AddAccessAllowedAce(PACL acl, DWORD revision, DWORD mask, PSID sid);
void InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision);
void SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, bool present, PACL acl,
                               bool defaulted);

}  // namespace advapi
}  // namespace va
