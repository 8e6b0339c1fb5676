#include "engine/journal/log_file.h"

#include <windows.h>

#include "engine/journal/core/log_format.h"
#include "engine/journal/file_replacement.h"
#include "support/handles.h"

namespace va {
namespace {

bool WriteAll(HANDLE file, std::string_view bytes)
{
    DWORD written = 0;
    return ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
           written == bytes.size();
}

}  // namespace

LogFileRead FeedLogFile(const std::wstring& file, LogReader& reader, std::size_t limit)
{
    UniqueFile in(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!in) {
        const DWORD error = ::GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? LogFileRead::Missing
                                                                               : LogFileRead::Unreadable;
    }
    std::size_t total = 0;
    char chunk[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(in.get(), chunk, sizeof chunk, &got, nullptr) || total > limit) {
            reader.Abort();
            return LogFileRead::Unreadable;
        }
        if (got == 0) {
            reader.Finish();
            return LogFileRead::Fed;
        }
        total += got;
        if (!reader.Feed(std::string_view(chunk, got)))
            return LogFileRead::Fed;
    }
}

bool WriteLogFile(const std::wstring& file, std::span<const std::wstring> lines)
{
    return ReplaceFileContents(
        file,
        [&](HANDLE out) {
            bool done = WriteAll(out, kUtf16LeMark);
            for (const std::wstring& line : lines)
                done = done && WriteAll(out, EncodeUtf16Le(line));
            return done;
        },
        kLogAttributesAfterWrite);
}

}  // namespace va
