#include "uninstaller/link_free_removal.h"

#include "support/handles.h"
#include "support/link_free_open.h"

namespace va::uninstall {
namespace {

DWORD OpenError()
{
    const DWORD error = ::GetLastError();
    return error == ERROR_PATH_NOT_FOUND ? ERROR_FILE_NOT_FOUND : error;
}

// The attributes a file's basic information may set.
constexpr DWORD kRestorable = FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                              FILE_ATTRIBUTE_NOT_CONTENT_INDEXED | FILE_ATTRIBUTE_TEMPORARY;

bool IsLink(DWORD attributes)
{
    return IsLinkAttributes(attributes);
}

// The folders on the way, held: opened without sharing deletion, nobody can
// rename one of them, or replace it by a link, while they stay open.
class HeldFolders {
public:
    LinkFreeRemoval Take(const std::vector<std::wstring>& folders)
    {
        for (const std::wstring& folder : folders) {
            // The name is asked first too: it tells a link apart even where
            // an open would land on the link's target.
            const DWORD named = ::GetFileAttributesW(folder.c_str());
            if (named == INVALID_FILE_ATTRIBUTES)
                return {OpenError(), {}};
            if (IsLink(named))
                return {kLinkOnTheWay, folder};
            UniqueFile held = OpenWithoutFollowing(folder, FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE);
            if (!held)
                return {OpenError(), {}};
            BY_HANDLE_FILE_INFORMATION info{};
            if (!::GetFileInformationByHandle(held.get(), &info))
                return {::GetLastError(), {}};
            if (IsLink(info.dwFileAttributes))
                return {kLinkOnTheWay, folder};
            if (!(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                return {ERROR_DIRECTORY, {}};
            held_.push_back(std::move(held));
        }
        return {};
    }

private:
    std::vector<UniqueFile> held_;
};

// Whether a folder that refused its deletion holds anything: some file
// systems answer "access denied" for one that is not empty.
bool HoldsSomething(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find)
        return false;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            return true;
    } while (::FindNextFileW(find.get(), &found));
    return false;
}

LinkFreeRemoval Remove(const std::wstring& path, const std::vector<std::wstring>& folders, bool folder)
{
    HeldFolders held;
    if (LinkFreeRemoval way = held.Take(folders); way.error != ERROR_SUCCESS)
        return way;

    const DWORD named = ::GetFileAttributesW(path.c_str());
    if (named == INVALID_FILE_ATTRIBUTES)
        return {OpenError(), {}};
    if (IsLink(named))
        return {kLinkOnTheWay, path};
    UniqueFile item = OpenWithoutFollowing(path, DELETE | FILE_READ_ATTRIBUTES | FILE_WRITE_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    if (!item)
        return {OpenError(), {}};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(item.get(), &info))
        return {::GetLastError(), {}};
    if (IsLink(info.dwFileAttributes))
        return {kLinkOnTheWay, path};
    // The log named a file: never a folder's content, and the reverse.
    if (((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) != folder)
        return {ERROR_DIRECTORY, {}};
    if (!folder && info.nNumberOfLinks > 1)
        return {ERROR_TOO_MANY_LINKS, path};

    // Read-only is cleared on the handle, and put back when the deletion
    // fails.
    const bool readOnly = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0;
    FILE_BASIC_INFO basic{};
    if (readOnly) {
        basic.FileAttributes = info.dwFileAttributes & kRestorable;
        if (basic.FileAttributes == 0)
            basic.FileAttributes = FILE_ATTRIBUTE_NORMAL;
        if (!::SetFileInformationByHandle(item.get(), FileBasicInfo, &basic, sizeof(basic)))
            return {::GetLastError(), {}};
    }
    FILE_DISPOSITION_INFO disposition{TRUE};
    if (::SetFileInformationByHandle(item.get(), FileDispositionInfo, &disposition, sizeof(disposition)))
        return {};
    DWORD error = ::GetLastError();
    if (readOnly) {
        basic.FileAttributes = info.dwFileAttributes & (kRestorable | FILE_ATTRIBUTE_READONLY);
        ::SetFileInformationByHandle(item.get(), FileBasicInfo, &basic, sizeof(basic));
    }
    if (folder && error != ERROR_DIR_NOT_EMPTY && HoldsSomething(path))
        error = ERROR_DIR_NOT_EMPTY;
    return {error, {}};
}

}  // namespace

LinkFreeRemoval RemoveFileWithoutLinks(const std::wstring& path, const std::vector<std::wstring>& folders)
{
    return Remove(path, folders, false);
}

LinkFreeRemoval RemoveFolderWithoutLinks(const std::wstring& path, const std::vector<std::wstring>& folders)
{
    return Remove(path, folders, true);
}

}  // namespace va::uninstall
