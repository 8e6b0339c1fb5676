#include "engine/journal/journal_recovery.h"

#include <set>

#include "engine/journal/disk_journal.h"
#include "engine/journal/protected_root.h"
#include "engine/journal/undo_change.h"
#include "support/advapi.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
#include "support/handles.h"

namespace va {
namespace {

// Far above any journal a run writes; a larger file is not read.
constexpr std::size_t kLargestJournal = 256u << 20;

std::wstring Joined(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

bool IsFolder(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring LastName(const std::wstring& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

DWORD ReadWhole(const std::wstring& file, std::string& bytes)
{
    UniqueFile in(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!in)
        return ::GetLastError();
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(in.get(), &size))
        return ::GetLastError();
    if (size.QuadPart < 0 || static_cast<unsigned long long>(size.QuadPart) > kLargestJournal)
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        if (!::ReadFile(in.get(), bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &got, nullptr))
            return ::GetLastError();
        if (got == 0)
            break;
        done += got;
    }
    bytes.resize(done);
    return ERROR_SUCCESS;
}

DWORD RestoreSecurity(const JournalRecord& record)
{
    auto* descriptor = reinterpret_cast<PSECURITY_DESCRIPTOR>(const_cast<char*>(record.Data.data()));
    if (record.Data.size() < sizeof(SECURITY_DESCRIPTOR_RELATIVE) || !::IsValidSecurityDescriptor(descriptor) ||
        ::GetSecurityDescriptorLength(descriptor) > record.Data.size())
        return ERROR_INVALID_DATA;
    if (!IsFolder(record.Target) && ::GetFileAttributesW(record.Target.c_str()) == INVALID_FILE_ATTRIBUTES)
        return ERROR_SUCCESS;  // nothing there to give its list back to
    try {
        advapi::SetFileSecurity(record.Target.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    } catch (...) {
        return ERROR_ACCESS_DENIED;
    }
    return ERROR_SUCCESS;
}

// The run folders a journal's backups lie in, other than its own: those
// named as the run, in a journal root, on other volumes.
std::set<std::wstring> OtherBackupFolders(const JournalReading& reading, const std::wstring& runFolder)
{
    std::set<std::wstring> folders;
    const std::wstring runName = LastName(runFolder);
    for (const JournalRecord& record : reading.Records) {
        if (record.Backup.empty())
            continue;
        const std::wstring folder = ParentFolder(record.Backup);
        if (folder.empty() || _wcsicmp(folder.c_str(), runFolder.c_str()) == 0)
            continue;
        if (_wcsicmp(LastName(folder).c_str(), runName.c_str()) == 0 &&
            LastName(ParentFolder(folder)) == JournalRootName())
            folders.insert(folder);
    }
    return folders;
}

void RemoveRun(const JournalReading& reading, const std::wstring& runFolder)
{
    for (const std::wstring& folder : OtherBackupFolders(reading, runFolder))
        RemoveRunFolder(folder);
    RemoveRunFolder(runFolder);
}

// One run folder; false (with the report filled) when the run must stop.
bool RecoverRun(const std::wstring& runFolder, const RecoveryActions& actions, RecoveryReport& report)
{
    const std::wstring journal = Joined(runFolder, kJournalFileName);
    if (::GetFileAttributesW(journal.c_str()) == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND) {
            report.Path = journal;
            report.Error = error;
            return false;
        }
        // Its journal was never in place: the run never began.
        RemoveRunFolder(runFolder);
        return true;
    }
    std::string bytes;
    if (const DWORD error = ReadWhole(journal, bytes); error != ERROR_SUCCESS) {
        report.Path = journal;
        report.Error = error;
        return false;
    }
    const JournalReading reading = ReadJournal(bytes);
    if (reading.State == JournalState::Damaged) {
        report.Path = journal;
        report.Error = ERROR_FILE_CORRUPT;
        report.Damage = reading.Damage;
        return false;
    }
    if (reading.State == JournalState::Committed) {
        RemoveRun(reading, runFolder);
        ++report.DiscardedRuns;
        return true;
    }

    DiskJournal marks;
    if (const DWORD error = marks.Reopen(runFolder, reading.Records.back().Sequence + 1); error != ERROR_SUCCESS) {
        report.Path = journal;
        report.Error = error;
        return false;
    }
    for (const JournalRecord* record : PendingUndo(reading)) {
        DWORD error = FaultPoint("undo change", ERROR_ACCESS_DENIED);
        if (error == ERROR_SUCCESS)
            error = UndoJournalRecord(*record, actions);
        if (error == ERROR_SUCCESS) {
            JournalRecord undone;
            undone.Kind = JournalRecordKind::Undone;
            undone.UndoneSequence = record->Sequence;
            error = marks.Append(undone, true);
        }
        if (error != ERROR_SUCCESS) {
            report.Path = record->Target.empty() ? journal : record->Target;
            report.Error = error;
            return false;
        }
        ++report.UndoneChanges;
    }
    marks.Remove();
    for (const std::wstring& folder : OtherBackupFolders(reading, runFolder))
        RemoveRunFolder(folder);
    ++report.UndoneRuns;
    return true;
}

}  // namespace

DWORD UndoJournalRecord(const JournalRecord& record, const RecoveryActions& actions)
{
    using Kind = JournalRecordKind;
    switch (record.Kind) {
    case Kind::CreateFolder:
        return UndoCreatedFolder(record.Target);
    case Kind::PlaceFile:
    case Kind::ReplaceLog: {
        // Without its backup the file is the one from before, but the run
        // may have cleared its attributes to move it: they are put back.
        const bool untouched = !record.Backup.empty() &&
                               ::GetFileAttributesW(record.Backup.c_str()) == INVALID_FILE_ATTRIBUTES;
        const DWORD error = UndoPlacedFile(record.Target, record.Backup, {});
        if (error == ERROR_SUCCESS && untouched && record.PreviousAttributes &&
            ::GetFileAttributesW(record.Target.c_str()) != INVALID_FILE_ATTRIBUTES &&
            !::SetFileAttributesW(record.Target.c_str(), *record.PreviousAttributes))
            return ::GetLastError();
        return error;
    }
    case Kind::CreateShortcut:
        // A shortcut whose name could not be known is named by its folder,
        // which is not deleted here.
        return UndoPlacedFile(IsFolder(record.Target) ? std::wstring() : record.Target, record.Backup, record.Source);
    case Kind::SetAttributes:
        if (!::SetFileAttributesW(record.Target.c_str(), record.PreviousAttributes.value_or(FILE_ATTRIBUTE_NORMAL))) {
            const DWORD error = ::GetLastError();
            return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? DWORD{ERROR_SUCCESS} : error;
        }
        return ERROR_SUCCESS;
    case Kind::GrantAccess:
        return RestoreSecurity(record);
    case Kind::SaveKey: {
        std::wstring keyName;
        return UndoUninstallKey(record.ExistedBefore ? record.Backup : std::wstring(), keyName);
    }
    case Kind::WriteValue:
        return UndoWrittenValue(record.Target, record.ValueName, record.ExistedBefore,
                                record.ValueType.value_or(REG_NONE), record.Data);
    case Kind::RegisterFileTypes:
        // A registration that replaced the previous installation's names the
        // program the rollback puts back: it stays.  A new one is withdrawn
        // while its program is still there (it is undone after this).
        if (!record.ExistedBefore && actions.withdrawFileTypes &&
            ::GetFileAttributesW(record.Target.c_str()) != INVALID_FILE_ATTRIBUTES)
            actions.withdrawFileTypes(record.Target);
        return ERROR_SUCCESS;
    default:
        return ERROR_SUCCESS;  // the DirectX runtime is not undone
    }
}

RecoveryReport RecoverJournals(const std::wstring& root, const RecoveryActions& actions)
{
    RecoveryReport report;
    if (root.empty())
        return report;
    const DWORD checked = CheckProtectedRoot(root);
    if (checked == ERROR_FILE_NOT_FOUND || checked == ERROR_PATH_NOT_FOUND)
        return report;
    if (checked != ERROR_SUCCESS) {
        report.Outcome = RecoveryOutcome::Refused;
        report.Path = root;
        report.Error = checked;
        return report;
    }

    std::set<std::wstring> runs;  // oldest name first is as good as any: runs do not overlap
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW(Joined(root, L"run-*").c_str(), &found));
    if (find) {
        do {
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                runs.insert(Joined(root, found.cFileName));
        } while (::FindNextFileW(find.get(), &found));
    }
    find.reset();
    for (const std::wstring& run : runs) {
        if (!RecoverRun(run, actions, report)) {
            report.Outcome = RecoveryOutcome::Refused;
            return report;
        }
    }
    if (report.UndoneRuns + report.DiscardedRuns > 0)
        report.Outcome = RecoveryOutcome::Recovered;
    ::RemoveDirectoryW(root.c_str());  // only when empty
    return report;
}

}  // namespace va
