#include "installer/previous_installation.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "identity/application_id.h"
#include "identity/core/product.h"
#include "engine/journal/core/log_format.h"
#include "engine/journal/core/log_reader.h"
#include "engine/journal/log_file.h"
#include "engine/journal/same_path.h"
#include "support/core/path_text.h"
#include "support/registry_read.h"
#include "support/thread_ansi.h"

namespace va {
namespace {

std::wstring ExistingLogBeside(const std::wstring& file)
{
    std::wstring log = LogBeside(file);
    return PathExists(log) ? log : std::wstring();
}

// Whether the log's "Install Path" is `folder`.  A log that cannot be read
// names nothing.
bool LogNamesFolder(const std::wstring& log, const std::wstring& folder)
{
    if (folder.empty())
        return false;
    LogReader reader(DecodeThreadAnsi);
    if (FeedLogFile(log, reader) != LogFileRead::Fed)
        return false;
    const std::wstring named = reader.TakeContents().InstallPath;
    return !named.empty() && SamePath(named, folder);
}

}  // namespace

bool PathExists(const std::wstring& path)
{
    if (path.empty())
        return false;
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    return !error && status.type() != std::filesystem::file_type::not_found;
}

std::wstring LookUpInstalledProgramPath()
{
    UniqueKey key = OpenKey(HKEY_LOCAL_MACHINE, kMakerKey);
    if (!key)
        return {};
    std::wstring path;
    if (!ReadString(key.get(), ProgramPathValueName(), path))
        return {};
    return PathExists(path) ? path : std::wstring();
}

const std::wstring& InstalledProgramPath()
{
    static const std::wstring path = LookUpInstalledProgramPath();
    return path;
}

std::wstring PreviousLogPathFor(const std::wstring& ownProgram, const std::wstring& installedProgram,
                               std::wstring* ignored)
{
    if (UniqueKey key = OpenKey(HKEY_LOCAL_MACHINE, UninstallKeyName())) {
        std::wstring uninstaller;
        if (ReadString(key.get(), L"UninstallString", uninstaller)) {
            std::wstring log = ExistingLogBeside(uninstaller);
            if (!log.empty())
                return log;
        }
    }
    // Anyone may put a file beside a downloaded installer: that log is
    // taken only for the installation it describes, never to choose the
    // folder of another or to merge its entries into the new log.
    if (std::wstring log = ExistingLogBeside(ownProgram); !log.empty()) {
        if (LogNamesFolder(log, ParentFolder(installedProgram)))
            return log;
        if (ignored)
            *ignored = log;
    }
    return ExistingLogBeside(installedProgram);
}

std::wstring PreviousLogPath(std::wstring* ignored)
{
    return PreviousLogPathFor(ProgramPath(), InstalledProgramPath(), ignored);
}

}  // namespace va
