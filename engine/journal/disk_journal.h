#pragma once
// The journal of one installation run on disk, beside the backups of what
// the run replaces: "<root>\run-{id}\journal.bin" (the format is in
// core/journal_file_format.h).  A record is appended before each change;
// one that announces moving, replacing or deleting something that existed
// is flushed first, one that announces a pure creation is flushed with the
// next one that is (a killed process loses nothing written: only a power
// cut can cost such a record, and then the creation did not reach the disk
// either, or is a left-over empty folder or file).
//
// The object is dropped without touching the disk: a run that ends without
// Commit or Discard leaves its journal for the next start to undo.

#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "engine/journal/core/journal_file_format.h"
#include "support/handles.h"

namespace va {

inline constexpr wchar_t kJournalFileName[] = L"journal.bin";
inline constexpr wchar_t kRunFolderPrefix[] = L"run-";

class DiskJournal {
public:
    DiskJournal() = default;
    DiskJournal(const DiskJournal&) = delete;
    DiskJournal& operator=(const DiskJournal&) = delete;

    // A new run under `root` (checked, made when missing): its folder, the
    // journal file and the Begin record, flushed.
    DWORD Begin(const std::wstring& root, const std::wstring& product);
    // An existing journal, to append Undone records after record `next - 1`.
    DWORD Reopen(const std::wstring& runFolder, std::uint32_t next);

    bool IsOpen() const { return static_cast<bool>(file_); }
    const std::wstring& RunFolder() const { return runFolder_; }
    std::uint32_t NextSequence() const { return next_; }

    // Appends `record` (numbered here); `flush`: on the disk before it returns.
    DWORD Append(const JournalRecord& record, bool flush, std::uint32_t* sequence = nullptr);
    DWORD Flush();

    // A free name for a backup of `target`, in a run folder on the target's
    // volume so that taking and restoring it is a rename.  Empty (with the
    // error) when no protected folder can be had there.
    std::wstring BackupPathFor(const std::wstring& target, DWORD& error);

    // The Commit record, flushed: the run stands.
    DWORD Commit();

    // Closes the journal and removes the run's folders (every volume's),
    // with what is left in them, and the roots when they are empty.
    void Remove();

private:
    UniqueFile file_;
    std::wstring root_;
    std::wstring runFolder_;
    std::wstring runName_;
    std::wstring volume_;
    std::uint32_t next_ = 0;
    std::uint32_t backups_ = 0;
    std::map<std::wstring, std::wstring> volumeFolders_;  // other volumes' run folders
};

// The volume root that holds `path` ("C:\"), lower-cased; empty when unknown.
std::wstring VolumeOf(const std::wstring& path);

// Deletes the files directly inside `folder`, then the folder, then its
// parent when that is empty and named as a journal root.
void RemoveRunFolder(const std::wstring& folder);

}  // namespace va
