#include "uninstaller/log_file.h"

#include <windows.h>

#include "identity/core/product.h"
#include "engine/journal/core/log_format.h"
#include "support/handles.h"
#include "support/thread_ansi.h"

namespace va::uninstall {
namespace {

bool WriteAll(HANDLE file, const std::string& bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

CheckedLog ReadUninstallLog(const std::wstring& path)
{
    CheckedLog missing;
    UniqueFile in(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND)
            missing.state = LogState::Damaged;
        return missing;
    }
    // The writer's lines are short and few: a log far beyond that is not one.
    constexpr DWORD kLimit = 16 * 1024 * 1024;
    std::string bytes;
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr) || bytes.size() > kLimit) {
            missing.state = LogState::Damaged;
            return missing;
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    return CheckLogBytes(bytes, DecodeThreadAnsi);
}

bool WriteUninstallLog(const std::wstring& path, const std::wstring& product, const std::wstring& installFolder,
                       const std::wstring& startMenuFolder, const std::vector<LogEntry>& entries)
{
    // Written beside and then put in place: a log half written would stop
    // every later run, while the old one, longer than needed, only names
    // things that are already gone.
    const std::wstring fresh = path + L".new";
    bool ok = false;
    {
        UniqueFile out(::CreateFileW(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
        if (!out)
            return false;
        ok = WriteAll(out.get(), std::string(kUtf16LeMark));
        for (const std::wstring& line : FormatLogHeader(product, {}, installFolder, startMenuFolder))
            ok = ok && WriteAll(out.get(), EncodeUtf16Le(line));
        std::size_t index = 0;
        for (LogEntry entry : entries) {
            if (auto fixed = FixedLogPath(entry.Type, ProductKey()))
                entry.Path = std::move(*fixed);
            ok = ok && WriteAll(out.get(), EncodeUtf16Le(FormatLogEntry(index++, entry)));
        }
    }
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    ok = ok && ::MoveFileExW(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
    if (!ok) {
        ::DeleteFileW(fresh.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES)
            ::SetFileAttributesW(path.c_str(), attributes);
        return false;
    }
    ::SetFileAttributesW(path.c_str(), kLogAttributesAfterWrite);
    return true;
}

}  // namespace va::uninstall
