// The in-memory journal's side of the journal on disk: each change is
// announced there before it is made, and each undo marked.

#include "engine/journal/core/journal_file_format.h"
#include "engine/journal/disk_journal.h"
#include "engine/journal/uninstall_log.h"

namespace va {

std::uint32_t UninstallLog::Announce(const JournalRecord& record, bool flush)
{
    if (!Disk || !Disk->IsOpen())
        return 0;
    std::uint32_t sequence = 0;
    if (const DWORD error = Disk->Append(record, flush, &sequence); error != ERROR_SUCCESS) {
        if (JournalError == ERROR_SUCCESS)
            JournalError = error;
        return 0;
    }
    return sequence;
}

void UninstallLog::MarkUndone(std::uint32_t sequence)
{
    if (sequence == 0)
        return;
    JournalRecord undone;
    undone.Kind = JournalRecordKind::Undone;
    undone.UndoneSequence = sequence;
    // Not flushed: an undo whose mark is lost is undone again, which is
    // harmless.
    Announce(undone, false);
}

std::uint32_t UninstallLog::AnnounceFolder(const std::wstring& path)
{
    JournalRecord record;
    record.Kind = JournalRecordKind::CreateFolder;
    record.Target = path;
    return Announce(record, false);
}

void UninstallLog::AnnounceTemporaryFile(const std::wstring& path, std::int32_t kind)
{
    JournalRecord record;
    record.Kind = JournalRecordKind::PlaceFile;
    record.Target = path;
    record.ExistedBefore = false;
    record.Detail = kind;
    Announce(record, false);
}

void UninstallLog::AnnounceValue(const std::wstring& key, const std::wstring& name, bool existed, DWORD type,
                                 const std::string& data)
{
    JournalRecord record;
    record.Kind = JournalRecordKind::WriteValue;
    record.Target = key;
    record.ValueName = name;
    record.ExistedBefore = existed;
    if (existed) {
        record.ValueType = type;
        record.Data = data;
    }
    Announce(record, existed);
}

}  // namespace va
