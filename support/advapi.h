#pragma once
// The security functions of advapi32.dll that the support library needs,
// looked up on first use and kept.  A library that cannot be loaded raises
// E_UNEXPECTED, a missing export E_NOTIMPL, a failing call the HRESULT of its
// last error.

#include <windows.h>

#include <vector>

#include "support/handles.h"

namespace va {

// Address of `name` in `module` (taken if loaded, loaded otherwise and kept).
FARPROC ResolveExport(const wchar_t* module, const char* name);

// advapi32's export `name` as a function of type F; raises as ResolveExport.
template <class F>
F* AdvapiFunction(const char* name)
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(ResolveExport(L"advapi32.dll", name)));
}

// Declares `p<fn>`, advapi32's `fn`, looked up at the first use in the
// calling function and kept there.  A function-local static is set only when
// the lookup succeeded, so a failed lookup raises and is tried again next time.
#define VA_ADVAPI(fn) static auto* const p##fn = ::va::AdvapiFunction<decltype(::fn)>(#fn)

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

// File security and access lists (for the Users group's rights on placed
// files and shared folders).
std::vector<BYTE> GetFileSecurity(const wchar_t* path, SECURITY_INFORMATION information);
// The descriptor's list, or nullptr when it has none.
PACL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor);
ACL_SIZE_INFORMATION GetAclSizeInformation(PACL acl);
void* GetAce(PACL acl, DWORD index);
void AddAce(PACL acl, DWORD revision, DWORD startIndex, void* ace, DWORD length);
void AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid);
bool EqualSid(PSID a, PSID b);
bool IsValidSid(PSID sid);
SECURITY_DESCRIPTOR_CONTROL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor);
void SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, SECURITY_DESCRIPTOR_CONTROL mask,
                                  SECURITY_DESCRIPTOR_CONTROL bits);
void SetFileSecurity(const wchar_t* path, SECURITY_INFORMATION information,
                     PSECURITY_DESCRIPTOR descriptor);
// The same through an open handle (READ_CONTROL to read, WRITE_DAC to set
// the list): the object checked is the object changed, and nothing below a
// folder is walked.
std::vector<BYTE> GetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION information);
void SetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor);

// This process's account: its token's TOKEN_USER (the SID at User.Sid);
// empty when the token cannot be read.  Never raises.
std::vector<BYTE> ProcessTokenUser() noexcept;

}  // namespace advapi
}  // namespace va
