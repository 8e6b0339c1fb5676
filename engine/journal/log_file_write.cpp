#include <stdexcept>

#include "identity/core/product.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_merge.h"
#include "engine/journal/file_replacement.h"
#include "engine/journal/same_path.h"
#include "engine/journal/uninstall_log.h"
#include "support/handles.h"

namespace va {
namespace {

bool WriteText(HANDLE file, const std::wstring& line)
{
    const std::string bytes = EncodeUtf16Le(line);
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

std::wstring ProductKeyText()
{
    try {
        return ProductKey();
    } catch (const std::logic_error&) {
        return {};
    }
}

}  // namespace

bool UninstallLog::WriteLog(const std::wstring& file, const std::wstring& installFolder,
                            const std::wstring& startMenuFolder)
{
    // Merged on copies: a log that cannot be written leaves the journal as
    // it was, so that the run can still be rolled back.
    std::list<LogEntry> previous = PreviousEntries;
    std::list<LogEntry> merged = NewEntries;
    SamePathCache samePath;
    MergePreviousEntries(previous, merged, std::ref(samePath));

    const std::wstring productKey = ProductKeyText();
    for (LogEntry& entry : merged) {
        if (auto fixed = FixedLogPath(entry.Type, productKey))
            entry.Path = std::move(*fixed);
    }
    const bool ok = ReplaceFileContents(
        file,
        [&](HANDLE out) {
            DWORD written = 0;
            bool done = ::WriteFile(out, kUtf16LeMark.data(), static_cast<DWORD>(kUtf16LeMark.size()), &written,
                                    nullptr) &&
                        written == kUtf16LeMark.size();
            for (const std::wstring& line :
                 FormatLogHeader(ProductDisplayName(true), PreviousProduct, installFolder, startMenuFolder))
                done = done && WriteText(out, line);
            std::size_t index = 0;
            for (const LogEntry& entry : merged)
                done = done && WriteText(out, FormatLogEntry(index++, entry));
            return done;
        },
        kLogAttributesAfterWrite);
    if (!ok) {
        const DWORD error = ::GetLastError();
        ::SetLastError(error != ERROR_SUCCESS ? error : DWORD{ERROR_WRITE_FAULT});
        return false;
    }

    // The log is in place: this run is final, nothing will be rolled back.
    PreviousEntries.clear();
    NewEntries = std::move(merged);
    for (LogEntry& entry : NewEntries) {
        if (!entry.BackupPath.empty()) {
            DiscardBackup(entry.BackupPath);
            entry.BackupPath.clear();
            entry.BackupSource.clear();
        }
    }
    AwaitingOutcome = false;
    return true;
}

}  // namespace va
