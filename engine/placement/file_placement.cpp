#include "engine/placement/file_placement.h"

#include <shlwapi.h>

#include <exception>
#include <system_error>

#include "engine/journal/uninstall_log.h"
#include "engine/package/held_files.h"
#include "engine/package/link_free_path.h"
#include "engine/placement/core/placement_policy.h"
#include "engine/placement/temporary_files.h"
#include "support/core/path_text.h"
#include "support/format_message.h"

namespace va {
namespace {

// A failure to grant rights leaves the file usable by its owner; it never
// stops the installation.  The folders from the token's one down stay held
// while the rights are given, so none can become a link in between.
void GrantDataFileRights(const PackageEntry& entry, PlacementContext& context)
{
    if (!context.grant)
        return;
    const std::wstring& path = entry.destination;
    PinnedFolderChain chain;
    DWORD refusal = chain.Pin(entry.root, ParentFolder(path));
    if (refusal == ERROR_SUCCESS) {
        try {
            context.grant(path, kDataFileAccess, 0);
        } catch (const std::system_error& e) {
            refusal = static_cast<DWORD>(e.code().value());
        } catch (const std::exception&) {
        }
    }
    if ((refusal == ERROR_CANT_ACCESS_FILE || refusal == ERROR_TOO_MANY_LINKS) && context.grantRefused)
        context.grantRefused(path, refusal);
}

// A file the journal could not save must not be written over: the entry
// fails through the reader's error path and the transaction rolls back.
void Record(PlacementContext& context, const std::wstring& path, std::int32_t kind, bool copy)
{
    const DWORD error = context.journal->RecordFile(path, kind, copy);
    if (error != ERROR_SUCCESS)
        throw std::system_error(static_cast<int>(error), std::system_category(), "backup");
}

std::wstring Message(PlacementContext& context, int number) { return context.message ? context.message(number) : L""; }

// Message 115 with the (quoted) path for %1, filled FormatMessage-style.
std::wstring CopyingFileText(const std::wstring& destination, PlacementContext& context)
{
    return FormatInserts(Message(context, kMessageCopyingFile), {QuotedIfSpaced(destination)});
}

}  // namespace

bool UninstallLogJournal::IsKeptDataFile(const std::wstring& path) const { return log_.IsKeptDataFile(path); }

DWORD UninstallLogJournal::RecordFile(const std::wstring& path, std::int32_t kind, bool copy)
{
    return log_.RecordFile(path, kind, copy);
}

void UninstallLogJournal::CommitOutcome(std::uint8_t outcome) { log_.CommitOutcome(outcome); }

void UninstallLogJournal::AnnounceTemporaryFile(const std::wstring& folder, const std::wstring& path,
                                                std::int32_t kind, bool first)
{
    // Announced on disk only: a killed run's next start removes them; the
    // run itself removes them when it ends, whatever its result.
    if (first && !folder.empty())
        log_.AnnounceFolder(folder);
    log_.AnnounceTemporaryFile(path, kind);
}

notification::result OnFileBegin(const PackageEntry& entry, PlacementContext& context)
{
    const std::wstring& destination = entry.destination;
    // Backed up, written or granted rights by path: never through a link
    // planted below the token's folder.
    if (!entry.root.empty() || !destination.empty()) {
        if (const DWORD error = CheckNoReparsePoint(entry.root, destination, context.pinned); error != ERROR_SUCCESS)
            throw std::system_error(static_cast<int>(error), std::system_category(), "link");
    }
    const bool kept = entry.kind == UserData && context.installKind != Fresh && context.journal &&
                      context.journal->IsKeptDataFile(destination);
    const bool exists = entry.kind == UserData && !kept && ::PathFileExistsW(destination.c_str());
    const PlacementDecision d = decide_placement(entry.kind, context.installKind, exists, kept);

    switch (d.action) {
    case PlacementAction::keep:
        return notification::skip;
    case PlacementAction::keep_granting:
        GrantDataFileRights(entry, context);
        return notification::skip;
    case PlacementAction::record_and_keep:
        if (context.journal) {
            Record(context, destination, static_cast<std::int32_t>(entry.kind), true);
            context.journal->CommitOutcome(1);
        }
        GrantDataFileRights(entry, context);
        return notification::skip;
    case PlacementAction::place:
        break;
    }

    if (d.mainProgram && context.mainProgramPath)
        *context.mainProgramPath = destination;
    if (d.uninstaller && context.uninstallerPath)
        *context.uninstallerPath = destination;
    const std::wstring text = CopyingFileText(destination, context);
    if (d.temporary) {
        if (context.temporaryFiles) {
            if (context.journal)
                context.journal->AnnounceTemporaryFile(context.temporaryFiles->folder, destination,
                                                       static_cast<std::int32_t>(entry.kind),
                                                       context.temporaryFiles->files.empty());
            context.temporaryFiles->files.push_back(destination);
        }
    } else if (context.journal) {
        Record(context, destination, static_cast<std::int32_t>(entry.kind), d.copy);
    }
    if (context.showCopiedFile)
        context.showCopiedFile(text);
    if (context.appendProgress)
        context.appendProgress(text);
    return notification::proceed;
}

notification::result OnFileEnd(const PackageEntry& entry, PlacementContext& context)
{
    // Checked again and held unchangeable from here until the DirectX step
    // has loaded it: the temporary folder belongs to the user.
    if (entry.kind == DirectXSetupFile) {
        if (const DWORD error = HoldVerifiedFile(entry.destination, entry.crc); error != ERROR_SUCCESS)
            throw std::system_error(static_cast<int>(error), std::system_category(), "hold");
    }
    if (entry.kind == UserData)
        GrantDataFileRights(entry, context);
    if (entry.kind != DirectXSetupFile && context.journal)
        context.journal->CommitOutcome(1);
    if (context.appendProgress)
        context.appendProgress(Message(context, kMessageOk) + L"\r\n");
    return notification::proceed;
}

}  // namespace va
