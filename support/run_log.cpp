#include "support/run_log.h"

#include <cstdio>

#include "support/log_file_open.h"
#include "support/utf8_text.h"

namespace va {

bool RunLog::Open(const std::wstring& path, bool append, DWORD& error)
{
    error = ERROR_SUCCESS;
    if (path.empty())
        return true;
    file_ = OpenLogFileWithoutLinks(path, append, error);
    return static_cast<bool>(file_);
}

void RunLog::Line(const std::wstring& text)
{
    if (!file_)
        return;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth, now.wDay, now.wHour,
                  now.wMinute, now.wSecond);
    std::wstring flat = text;
    // One event, one line: the texts of boxes keep their breaks as " / ".
    for (std::size_t at; (at = flat.find(L"\r\n")) != std::wstring::npos;)
        flat.replace(at, 2, L" / ");
    const std::string line = stamp + Utf8(flat) + "\r\n";
    DWORD written = 0;
    ::WriteFile(file_.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace va
