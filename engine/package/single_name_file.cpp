#include "engine/package/single_name_file.h"

#include "support/link_free_open.h"

namespace va {
namespace {

// The name can change between two opens (the folder is writable by
// others); a name that keeps changing is given up on.
constexpr int kAttempts = 3;

DWORD LastError()
{
    const DWORD error = ::GetLastError();
    return error != ERROR_SUCCESS ? error : DWORD{ERROR_GEN_FAILURE};
}

// No DELETE access: readers that do not share deletion may still open it.
UniqueFile OpenForWriting(const std::wstring& path, DWORD disposition)
{
    return UniqueFile(::CreateFileW(path.c_str(), GENERIC_WRITE | FILE_READ_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                                    disposition, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
}

// Deletes this name only, through the handle that was checked.  Read-only
// is lifted for the deletion and put back for the names that stay.
DWORD RemoveThisName(HANDLE handle, const ItemFacts& facts)
{
    const bool readOnly = (facts.attributes & FILE_ATTRIBUTE_READONLY) != 0;
    if (readOnly && !SetAttributesByHandle(handle, facts.attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}))
        return LastError();
    FILE_DISPOSITION_INFO disposition{TRUE};
    const bool removed = ::SetFileInformationByHandle(handle, FileDispositionInfo, &disposition, sizeof(disposition));
    const DWORD error = removed ? DWORD{ERROR_SUCCESS} : LastError();
    if (readOnly)
        SetAttributesByHandle(handle, facts.attributes);
    return error;
}

// Between two attempts, through a handle that may change only the name's
// attributes and existence: a second name is removed, a read-only file made
// writable.  `refusal` is the answer when neither applies and the name was
// refused for writing; ERROR_SUCCESS to try again.
DWORD PrepareName(const std::wstring& path, DWORD refusal)
{
    UniqueFile item = OpenWithoutFollowing(path, FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES | DELETE,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!item) {
        const DWORD error = LastError();
        return error == ERROR_FILE_NOT_FOUND ? DWORD{ERROR_SUCCESS} : refusal != ERROR_SUCCESS ? refusal : error;
    }
    ItemFacts facts{};
    if (const DWORD error = CheckNotLink(path, item.get(), facts); error != ERROR_SUCCESS)
        return error;
    if (facts.attributes & FILE_ATTRIBUTE_DIRECTORY)
        return refusal != ERROR_SUCCESS ? refusal : DWORD{ERROR_ACCESS_DENIED};
    if (facts.links > 1)
        return RemoveThisName(item.get(), facts);
    if (facts.attributes & FILE_ATTRIBUTE_READONLY) {
        if (!SetAttributesByHandle(item.get(), facts.attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}))
            return LastError();
        return ERROR_SUCCESS;
    }
    return refusal;
}

}  // namespace

DWORD OpenSingleNameFileForWriting(const std::wstring& path, UniqueFile& file)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        UniqueFile existing = OpenForWriting(path, OPEN_EXISTING);
        if (!existing) {
            const DWORD error = LastError();
            if (error == ERROR_FILE_NOT_FOUND) {
                UniqueFile made = OpenForWriting(path, CREATE_NEW);
                if (made) {
                    file = std::move(made);
                    return ERROR_SUCCESS;
                }
                const DWORD refused = LastError();
                if (refused == ERROR_FILE_EXISTS || refused == ERROR_ALREADY_EXISTS)
                    continue;  // taken meanwhile: checked again
                return refused;
            }
            if (error != ERROR_ACCESS_DENIED)
                return error;
            if (const DWORD prepared = PrepareName(path, error); prepared != ERROR_SUCCESS)
                return prepared;
            continue;
        }
        // What is written is what this handle shows: one name, no link.
        ItemFacts facts{};
        if (const DWORD error = CheckNotLink(path, existing.get(), facts); error != ERROR_SUCCESS)
            return error;
        if (facts.links > 1) {
            existing.reset();
            if (const DWORD error = PrepareName(path, ERROR_SUCCESS); error != ERROR_SUCCESS)
                return error;
            continue;  // the name is free once no handle holds it
        }
        if ((facts.attributes & FILE_ATTRIBUTE_READONLY) &&
            !SetAttributesByHandle(existing.get(), facts.attributes & ~DWORD{FILE_ATTRIBUTE_READONLY}))
            return LastError();
        if (!::SetEndOfFile(existing.get()))
            return LastError();
        file = std::move(existing);
        return ERROR_SUCCESS;
    }
    return ERROR_CANT_ACCESS_FILE;
}

}  // namespace va
