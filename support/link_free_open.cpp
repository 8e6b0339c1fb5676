#include "support/link_free_open.h"

namespace va {

UniqueFile OpenWithoutFollowing(const std::wstring& path, DWORD access, DWORD share)
{
    return UniqueFile(::CreateFileW(path.c_str(), access | SYNCHRONIZE, share, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

DWORD CheckNotLink(const std::wstring& path, HANDLE handle, ItemFacts& facts)
{
    const DWORD named = ::GetFileAttributesW(path.c_str());
    if (named != INVALID_FILE_ATTRIBUTES && IsLinkAttributes(named))
        return kLinkOnTheWay;
    facts = {};
    // Two small queries rather than the full information, which also asks
    // the volume for its serial number: this runs for every folder of every
    // file placed.
    FILE_ATTRIBUTE_TAG_INFO tag{};
    FILE_STANDARD_INFO standard{};
    if (!::GetFileInformationByHandleEx(handle, FileAttributeTagInfo, &tag, sizeof tag) ||
        !::GetFileInformationByHandleEx(handle, FileStandardInfo, &standard, sizeof standard))
        return ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : DWORD{ERROR_GEN_FAILURE};
    facts.attributes = tag.FileAttributes;
    facts.links = standard.NumberOfLinks;
    if (IsLinkAttributes(facts.attributes))
        return kLinkOnTheWay;
    return ERROR_SUCCESS;
}

bool SetAttributesByHandle(HANDLE handle, DWORD attributes)
{
    // Only what basic information may set; zero would mean "leave
    // unchanged", so an item left without any is NORMAL.
    constexpr DWORD kSettable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED |
                                FILE_ATTRIBUTE_TEMPORARY;
    FILE_BASIC_INFO basic{};
    basic.FileAttributes = attributes & kSettable;
    if (basic.FileAttributes == 0)
        basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
    return ::SetFileInformationByHandle(handle, FileBasicInfo, &basic, sizeof(basic)) != FALSE;
}

}  // namespace va
