#include "engine/journal/disk_journal.h"

#include <objbase.h>

#include <cwctype>

#include "engine/journal/protected_root.h"
#include "support/core/path_text.h"

namespace va {
namespace {

std::wstring NewRunName()
{
    GUID guid{};
    wchar_t text[64] = {};
    if (FAILED(::CoCreateGuid(&guid)) || ::StringFromGUID2(guid, text, 64) == 0)
        return {};
    return std::wstring(kRunFolderPrefix) + text;
}

DWORD WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    if (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
        return ::GetLastError();
    return written == bytes.size() ? DWORD{ERROR_SUCCESS} : DWORD{ERROR_WRITE_FAULT};
}

std::wstring Joined(const std::wstring& folder, const std::wstring& name)
{
    return !folder.empty() && folder.back() == L'\\' ? folder + name : folder + L"\\" + name;
}

}  // namespace

std::wstring VolumeOf(const std::wstring& path)
{
    wchar_t volume[MAX_PATH + 1] = {};
    if (!::GetVolumePathNameW(path.c_str(), volume, MAX_PATH + 1))
        return {};
    std::wstring text = volume;
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towlower(c));
    if (!text.empty() && text.back() != L'\\')
        text += L'\\';
    return text;
}

DWORD DiskJournal::Begin(const std::wstring& root, const std::wstring& product)
{
    if (root.empty())
        return ERROR_PATH_NOT_FOUND;
    if (const DWORD error = EnsureProtectedRoot(root); error != ERROR_SUCCESS)
        return error;
    runName_ = NewRunName();
    if (runName_.empty())
        return ERROR_GEN_FAILURE;
    root_ = root;
    runFolder_ = Joined(root, runName_);
    volume_ = VolumeOf(root);
    // Inside the checked root the folder takes its access list.
    if (!::CreateDirectoryW(runFolder_.c_str(), nullptr))
        return ::GetLastError();

    // Written whole under another name first: a run folder without its
    // journal is one whose run never began.
    const std::wstring journal = Joined(runFolder_, kJournalFileName);
    const std::wstring fresh = journal + L".new";
    {
        UniqueFile out(::CreateFileW(fresh.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!out)
            return ::GetLastError();
        JournalRecord begin;
        begin.Kind = JournalRecordKind::Begin;
        begin.RunId = runName_.substr(std::size(kRunFolderPrefix) - 1);
        begin.Product = product;
        if (const DWORD error = WriteAll(out.get(), EncodeJournalHeader() + EncodeJournalRecord(begin, 0));
            error != ERROR_SUCCESS)
            return error;
        if (!::FlushFileBuffers(out.get()))
            return ::GetLastError();
    }
    if (!::MoveFileExW(fresh.c_str(), journal.c_str(), MOVEFILE_WRITE_THROUGH))
        return ::GetLastError();
    return Reopen(runFolder_, 1);
}

DWORD DiskJournal::Reopen(const std::wstring& runFolder, std::uint32_t next)
{
    runFolder_ = runFolder;
    if (root_.empty())
        root_ = ParentFolder(runFolder);
    if (volume_.empty())
        volume_ = VolumeOf(runFolder);
    if (runName_.empty()) {
        const std::size_t slash = runFolder.find_last_of(L"\\/");
        runName_ = slash == std::wstring::npos ? runFolder : runFolder.substr(slash + 1);
    }
    file_.reset(::CreateFileW(Joined(runFolder, kJournalFileName).c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_)
        return ::GetLastError();
    next_ = next;
    return ERROR_SUCCESS;
}

DWORD DiskJournal::Append(const JournalRecord& record, bool flush, std::uint32_t* sequence)
{
    if (!file_)
        return ERROR_INVALID_HANDLE;
    std::string bytes;
    try {
        bytes = EncodeJournalRecord(record, next_);
    } catch (const std::exception&) {
        return ERROR_INVALID_DATA;
    }
    if (const DWORD error = WriteAll(file_.get(), bytes); error != ERROR_SUCCESS)
        return error;
    if (sequence)
        *sequence = next_;
    ++next_;
    return flush ? Flush() : DWORD{ERROR_SUCCESS};
}

DWORD DiskJournal::Flush()
{
    if (!file_)
        return ERROR_INVALID_HANDLE;
    return ::FlushFileBuffers(file_.get()) ? DWORD{ERROR_SUCCESS} : ::GetLastError();
}

std::wstring DiskJournal::BackupPathFor(const std::wstring& target, DWORD& error)
{
    error = ERROR_SUCCESS;
    std::wstring folder = runFolder_;
    const std::wstring volume = VolumeOf(target);
    if (!volume.empty() && volume != volume_) {
        auto found = volumeFolders_.find(volume);
        if (found == volumeFolders_.end()) {
            const std::wstring root = volume + JournalRootName();
            const std::wstring made = Joined(root, runName_);
            // Without a protected folder there, the backup is copied whole
            // into the run's own folder instead (TakeBackup).
            const bool usable = EnsureProtectedRoot(root) == ERROR_SUCCESS &&
                                (::CreateDirectoryW(made.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
            found = volumeFolders_.emplace(volume, usable ? made : std::wstring()).first;
        }
        if (!found->second.empty())
            folder = found->second;
    }
    return Joined(folder, L"backup-" + std::to_wstring(++backups_));
}

DWORD DiskJournal::Commit()
{
    JournalRecord commit;
    commit.Kind = JournalRecordKind::Commit;
    return Append(commit, true);
}

void DiskJournal::Remove()
{
    file_.reset();
    for (const auto& [volume, folder] : volumeFolders_)
        if (!folder.empty())
            RemoveRunFolder(folder);
    volumeFolders_.clear();
    if (!runFolder_.empty())
        RemoveRunFolder(runFolder_);
    runFolder_.clear();
}

void RemoveRunFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW(Joined(folder, L"*").c_str(), &found));
    if (find) {
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                continue;  // nothing of a run's: left, and so is the folder
            const std::wstring file = Joined(folder, found.cFileName);
            ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(file.c_str());
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    ::RemoveDirectoryW(folder.c_str());
    const std::wstring root = ParentFolder(folder);
    const std::size_t slash = root.find_last_of(L"\\/");
    if (slash != std::wstring::npos && root.substr(slash + 1) == JournalRootName())
        ::RemoveDirectoryW(root.c_str());  // only when empty
}

}  // namespace va
