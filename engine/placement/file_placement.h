#pragma once
// The install transaction's answers to the package reader's file_begin and
// file_end: which entries are written, kept or only passed through the
// temporary folder, each journalled before it is written.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "identity/core/install_kind.h"
#include "languages/core/message_numbers.h"
#include "engine/package/core/notification.h"
#include "engine/package/core/package_format.h"
#include "engine/package/output_file.h"

namespace va {

class UninstallLog;
struct TemporaryFiles;

// The journal operations the placement uses.
class PlacementJournal {
public:
    virtual ~PlacementJournal() = default;
    virtual bool IsKeptDataFile(const std::wstring& path) const = 0;
    // ERROR_SUCCESS, or the Windows error that forbids writing at the path.
    virtual DWORD RecordFile(const std::wstring& path, std::int32_t kind, bool copy) = 0;
    virtual void CommitOutcome(std::uint8_t outcome) = 0;
    // A file about to pass through the run's temporary folder `folder`
    // (made with its first file); `first`: the folder's first file.
    virtual void AnnounceTemporaryFile(const std::wstring& /*folder*/, const std::wstring& /*path*/,
                                       std::int32_t /*kind*/, bool /*first*/)
    {
    }
};

// The session's journal behind that interface.
class UninstallLogJournal : public PlacementJournal {
public:
    explicit UninstallLogJournal(UninstallLog& log) : log_(log) {}
    bool IsKeptDataFile(const std::wstring& path) const override;
    DWORD RecordFile(const std::wstring& path, std::int32_t kind, bool copy) override;
    void CommitOutcome(std::uint8_t outcome) override;
    void AnnounceTemporaryFile(const std::wstring& folder, const std::wstring& path, std::int32_t kind,
                               bool first) override;

private:
    UninstallLog& log_;
};

// What the placement reads and writes of the session and the Install page.
struct PlacementContext {
    std::int32_t installKind = Fresh;
    PlacementJournal* journal = nullptr;
    std::function<std::wstring(int message)> message;              // interface-language text
    std::function<void(const std::wstring& text)> appendProgress;  // the page's progress text
    std::function<void(const std::wstring& text)> showCopiedFile;  // the page's status line
    std::wstring* mainProgramPath = nullptr;
    std::wstring* uninstallerPath = nullptr;
    TemporaryFiles* temporaryFiles = nullptr;                      // this run's; files passing through go here
    GrantFn grant;                                                 // Users rights; GrantUsersAccess
    // A data file's rights not given: a link on its way or a second name
    // (ERROR_CANT_ACCESS_FILE, ERROR_TOO_MANY_LINKS).
    std::function<void(const std::wstring& path, DWORD error)> grantRefused;
    // The folders of the last file begun, held for the next one: the files
    // of one folder are checked against links once.  Released by the owner
    // when the extraction ends, before anything may remove those folders.
    PinnedFolderChain pinned;
};

notification::result OnFileBegin(const PackageEntry& entry, PlacementContext& context);
notification::result OnFileEnd(const PackageEntry& entry, PlacementContext& context);

}  // namespace va
