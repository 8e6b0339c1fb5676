#include <stdexcept>

#include "app/identity/core/product.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_merge.h"
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
    SamePathCache samePath;
    MergePreviousEntries(PreviousEntries, NewEntries, std::ref(samePath));

    bool ok = false;
    ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueFile out(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
    if (out) {
        ok = true;
        DWORD written = 0;
        ok &= ::WriteFile(out.get(), kUtf16LeMark.data(), static_cast<DWORD>(kUtf16LeMark.size()),
                          &written, nullptr) &&
              written == kUtf16LeMark.size();
        for (const std::wstring& line :
             FormatLogHeader(ProductDisplayName(true), PreviousProduct, installFolder, startMenuFolder))
            ok &= WriteText(out.get(), line);

        const std::wstring productKey = ProductKeyText();
        std::size_t index = 0;
        for (LogEntry& entry : NewEntries) {
            if (auto fixed = FixedLogPath(entry.Type, productKey))
                entry.Path = std::move(*fixed);
            ok &= WriteText(out.get(), FormatLogEntry(index++, entry));
        }
        out.reset();
        ::SetFileAttributesW(file.c_str(), kLogAttributesAfterWrite);
    }

    // Written or not, this run is final: nothing will be rolled back.
    for (LogEntry& entry : NewEntries) {
        if (!entry.BackupPath.empty()) {
            DiscardBackup(entry.BackupPath);
            entry.BackupPath.clear();
            entry.BackupSource.clear();
        }
    }
    AwaitingOutcome = false;
    return ok;
}

}  // namespace va
