#include "support/advapi.h"

#include "support/win_error.h"

namespace va {

FARPROC ResolveExport(const wchar_t* module, const char* name)
{
    HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        handle = ::LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_DEFAULT_DIRS);
    if (!handle)
        handle = ::LoadLibraryExW(module, nullptr, 0);
    if (!handle)
        ThrowHresult(kUnexpected);
    // The module stays loaded: the addresses are kept for the whole process.
    FARPROC address = ::GetProcAddress(handle, name);
    if (!address)
        ThrowHresult(kNotImplemented);
    return address;
}

namespace advapi {
namespace {

template <class F>
F* Resolve(const char* name)
{
    return reinterpret_cast<F*>(reinterpret_cast<void*>(ResolveExport(L"advapi32.dll", name)));
}

// Each call site keeps its own address: a function-local static is set only
// when the lookup succeeded, so a failed lookup is tried again next time.
#define VA_ADVAPI(fn) static auto* const p##fn = Resolve<decltype(::fn)>(#fn)

void Check(BOOL ok)
{
    if (!ok)
        ThrowLastErrorAsHresult();
}

}  // namespace

void SidTraits::close(pointer sid) noexcept
{
    try {
        VA_ADVAPI(FreeSid);
        pFreeSid(sid);
    } catch (...) {
        // Without FreeSid there is nothing to free with; the SID leaks.
    }
}

UniqueSid AllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY authority, BYTE count, DWORD sub0,
                                   DWORD sub1)
{
    VA_ADVAPI(AllocateAndInitializeSid);
    PSID sid = nullptr;
    Check(pAllocateAndInitializeSid(&authority, count, sub0, sub1, 0, 0, 0, 0, 0, 0, &sid));
    return UniqueSid(sid);
}

bool CheckTokenMembership(HANDLE token, PSID sid)
{
    VA_ADVAPI(CheckTokenMembership);
    BOOL member = FALSE;
    Check(pCheckTokenMembership(token, sid, &member));
    return member != FALSE;
}

DWORD GetLengthSid(PSID sid)
{
    VA_ADVAPI(GetLengthSid);
    return pGetLengthSid(sid);
}

void InitializeAcl(PACL acl, DWORD length, DWORD revision)
{
    VA_ADVAPI(InitializeAcl);
    Check(pInitializeAcl(acl, length, revision));
}

void AddAccessAllowedAce(PACL acl, DWORD revision, DWORD mask, PSID sid)
{
    VA_ADVAPI(AddAccessAllowedAce);
    Check(pAddAccessAllowedAce(acl, revision, mask, sid));
}

void InitializeSecurityDescriptor(PSECURITY_DESCRIPTOR descriptor, DWORD revision)
{
    VA_ADVAPI(InitializeSecurityDescriptor);
    Check(pInitializeSecurityDescriptor(descriptor, revision));
}

void SetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor, bool present, PACL acl,
                               bool defaulted)
{
    VA_ADVAPI(SetSecurityDescriptorDacl);
    Check(pSetSecurityDescriptorDacl(descriptor, present, acl, defaulted));
}

}  // namespace advapi
}  // namespace va
