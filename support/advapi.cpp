#include "support/advapi.h"

#include "support/dll_search_order.h"
#include "support/win_error.h"

namespace va {

FARPROC ResolveExport(const wchar_t* module, const char* name)
{
    HMODULE handle = ::GetModuleHandleW(module);
    if (!handle)
        handle = LoadSystemLibrary(module);
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

std::vector<BYTE> GetFileSecurity(const wchar_t* path, SECURITY_INFORMATION information)
{
    VA_ADVAPI(GetFileSecurityW);
    DWORD needed = 0;
    if (!pGetFileSecurityW(path, information, nullptr, 0, &needed) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        ThrowLastErrorAsHresult();
    std::vector<BYTE> buffer(needed ? needed : sizeof(SECURITY_DESCRIPTOR));
    Check(pGetFileSecurityW(path, information, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
    return buffer;
}

PACL GetSecurityDescriptorDacl(PSECURITY_DESCRIPTOR descriptor)
{
    VA_ADVAPI(GetSecurityDescriptorDacl);
    BOOL present = FALSE, defaulted = FALSE;
    PACL acl = nullptr;
    Check(pGetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted));
    return present ? acl : nullptr;
}

ACL_SIZE_INFORMATION GetAclSizeInformation(PACL acl)
{
    VA_ADVAPI(GetAclInformation);
    ACL_SIZE_INFORMATION info{};
    Check(pGetAclInformation(acl, &info, sizeof info, AclSizeInformation));
    return info;
}

void* GetAce(PACL acl, DWORD index)
{
    VA_ADVAPI(GetAce);
    void* ace = nullptr;
    Check(pGetAce(acl, index, &ace));
    return ace;
}

void AddAce(PACL acl, DWORD revision, DWORD startIndex, void* ace, DWORD length)
{
    VA_ADVAPI(AddAce);
    Check(pAddAce(acl, revision, startIndex, ace, length));
}

void AddAccessAllowedAceEx(PACL acl, DWORD revision, DWORD flags, DWORD mask, PSID sid)
{
    VA_ADVAPI(AddAccessAllowedAceEx);
    Check(pAddAccessAllowedAceEx(acl, revision, flags, mask, sid));
}

bool EqualSid(PSID a, PSID b)
{
    VA_ADVAPI(EqualSid);
    return pEqualSid(a, b) != FALSE;
}

bool IsValidSid(PSID sid)
{
    VA_ADVAPI(IsValidSid);
    return pIsValidSid(sid) != FALSE;
}

SECURITY_DESCRIPTOR_CONTROL GetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor)
{
    VA_ADVAPI(GetSecurityDescriptorControl);
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    Check(pGetSecurityDescriptorControl(descriptor, &control, &revision));
    return control;
}

void SetSecurityDescriptorControl(PSECURITY_DESCRIPTOR descriptor, SECURITY_DESCRIPTOR_CONTROL mask,
                                  SECURITY_DESCRIPTOR_CONTROL bits)
{
    VA_ADVAPI(SetSecurityDescriptorControl);
    Check(pSetSecurityDescriptorControl(descriptor, mask, bits));
}

void SetFileSecurity(const wchar_t* path, SECURITY_INFORMATION information,
                     PSECURITY_DESCRIPTOR descriptor)
{
    VA_ADVAPI(SetFileSecurityW);
    Check(pSetFileSecurityW(path, information, descriptor));
}

std::vector<BYTE> GetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION information)
{
    VA_ADVAPI(GetKernelObjectSecurity);
    DWORD needed = 0;
    if (!pGetKernelObjectSecurity(handle, information, nullptr, 0, &needed) &&
        ::GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        ThrowLastErrorAsHresult();
    std::vector<BYTE> buffer(needed ? needed : sizeof(SECURITY_DESCRIPTOR));
    Check(pGetKernelObjectSecurity(handle, information, buffer.data(), static_cast<DWORD>(buffer.size()), &needed));
    return buffer;
}

void SetKernelObjectSecurity(HANDLE handle, SECURITY_INFORMATION information, PSECURITY_DESCRIPTOR descriptor)
{
    VA_ADVAPI(SetKernelObjectSecurity);
    Check(pSetKernelObjectSecurity(handle, information, descriptor));
}

std::vector<BYTE> ProcessTokenUser() noexcept
{
    try {
        VA_ADVAPI(OpenProcessToken);
        VA_ADVAPI(GetTokenInformation);
        HANDLE raw = nullptr;
        if (!pOpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &raw))
            return {};
        const UniqueHandle token(raw);
        DWORD needed = 0;
        pGetTokenInformation(token.get(), TokenUser, nullptr, 0, &needed);
        if (needed == 0)
            return {};
        std::vector<BYTE> buffer(needed);
        if (!pGetTokenInformation(token.get(), TokenUser, buffer.data(), needed, &needed))
            return {};
        return buffer;
    } catch (...) {
        return {};
    }
}

}  // namespace advapi
}  // namespace va
