#include "engine/journal/protected_root.h"

#include <aclapi.h>
#include <shlobj.h>

#include <vector>

#include "identity/core/product.h"
#include "support/administrators_only_folder.h"
#include "support/advapi.h"
#include "support/handles.h"

namespace va {
namespace {

// ERROR_REPARSE_POINT_ENCOUNTERED, which not every SDK's headers define.
constexpr DWORD kReparsePointEncountered = 4395;

// Any right that lets its holder change what the folder holds or who may.
constexpr DWORD kWritingRights = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_DELETE_CHILD |
                                 FILE_WRITE_ATTRIBUTES | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE |
                                 GENERIC_ALL | MAXIMUM_ALLOWED;

bool IsSid(PSID sid, WELL_KNOWN_SID_TYPE type)
{
    VA_ADVAPI(IsWellKnownSid);
    return pIsWellKnownSid(sid, type) != FALSE;
}

// The account this (elevated) process runs as.  Where the system makes an
// administrator, not the Administrators group, the owner of what they
// create (the "object creator" policy), the folder a previous run made is
// that account's; another user's is still refused.
class ProcessUser {
public:
    ProcessUser() : buffer_(advapi::ProcessTokenUser()) {}
    bool Is(PSID sid) const
    {
        return !buffer_.empty() && ::EqualSid(reinterpret_cast<const TOKEN_USER*>(buffer_.data())->User.Sid, sid);
    }

private:
    std::vector<BYTE> buffer_;
};

bool IsAdministrativeOwner(PSID sid, const ProcessUser& user)
{
    return IsSid(sid, WinBuiltinAdministratorsSid) || IsSid(sid, WinLocalSystemSid) || user.Is(sid);
}

bool IsTrustedSid(PSID sid, const ProcessUser& user)
{
    // CREATOR OWNER stands for whoever makes something inside: only those
    // who may write here at all.
    return IsAdministrativeOwner(sid, user) || IsSid(sid, WinCreatorOwnerSid);
}

DWORD CheckSecurity(HANDLE folder)
{
    VA_ADVAPI(GetSecurityInfo);
    PSID owner = nullptr;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    const DWORD status = pGetSecurityInfo(folder, SE_FILE_OBJECT,
                                          OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION, &owner,
                                          nullptr, &dacl, nullptr, &descriptor);
    if (status != ERROR_SUCCESS)
        return status;
    const UniqueLocal owned(descriptor);
    const ProcessUser user;
    if (!owner || !IsAdministrativeOwner(owner, user))
        return ERROR_INVALID_OWNER;
    if (!dacl)
        return ERROR_ACCESS_DENIED;  // no list: everybody may do anything
    const ACL_SIZE_INFORMATION size = advapi::GetAclSizeInformation(dacl);
    for (DWORD index = 0; index < size.AceCount; ++index) {
        const auto* header = static_cast<const ACE_HEADER*>(advapi::GetAce(dacl, index));
        if (header->AceType == ACCESS_DENIED_ACE_TYPE)
            continue;
        if (header->AceType != ACCESS_ALLOWED_ACE_TYPE)
            return ERROR_ACCESS_DENIED;  // a kind this check does not read is not trusted
        const auto* ace = reinterpret_cast<const ACCESS_ALLOWED_ACE*>(header);
        PSID sid = const_cast<DWORD*>(&ace->SidStart);
        if ((ace->Mask & kWritingRights) != 0 && !IsTrustedSid(sid, user))
            return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

}  // namespace

DWORD CheckProtectedRoot(const std::wstring& path)
{
    // The name itself, then what the handle opened: neither may be a link.
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return ::GetLastError();
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kReparsePointEncountered;
    UniqueFile folder(::CreateFileW(path.c_str(), READ_CONTROL, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT,
                                    nullptr));
    if (!folder)
        return ::GetLastError();
    BY_HANDLE_FILE_INFORMATION facts{};
    if (!::GetFileInformationByHandle(folder.get(), &facts))
        return ::GetLastError();
    if (facts.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return kReparsePointEncountered;
    if (!(facts.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return ERROR_DIRECTORY;
    try {
        return CheckSecurity(folder.get());
    } catch (...) {
        return ERROR_PROC_NOT_FOUND;
    }
}

DWORD EnsureProtectedRoot(const std::wstring& path)
{
    const DWORD checked = CheckProtectedRoot(path);
    if (checked != ERROR_FILE_NOT_FOUND && checked != ERROR_PATH_NOT_FOUND)
        return checked;
    DWORD error = ERROR_SUCCESS;
    if (CreateAdministratorsOnlyFolder(path, error))
        return ERROR_SUCCESS;
    // Made by somebody else in between: trusted only as any found one.
    return error == ERROR_ALREADY_EXISTS ? CheckProtectedRoot(path) : error;
}

std::wstring JournalRootName() { return std::wstring(kMakerName) + L" Journal"; }

std::wstring DefaultJournalRoot()
{
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder)) ||
        folder[0] == L'\0')
        return {};
    std::wstring root = folder;
    if (root.back() != L'\\')
        root += L'\\';
    return root + JournalRootName();
}

}  // namespace va
