#include "installer/previous_installation.h"

#include <windows.h>

#include <filesystem>
#include <system_error>

#include "identity/application_id.h"
#include "identity/core/product.h"
#include "engine/journal/core/log_format.h"
#include "support/registry_read.h"

namespace va {
namespace {

std::wstring ExistingLogBeside(const std::wstring& file)
{
    std::wstring log = LogBeside(file);
    return PathExists(log) ? log : std::wstring();
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

std::wstring PreviousLogPathFor(const std::wstring& ownProgram, const std::wstring& installedProgram)
{
    if (UniqueKey key = OpenKey(HKEY_LOCAL_MACHINE, UninstallKeyName())) {
        std::wstring uninstaller;
        if (ReadString(key.get(), L"UninstallString", uninstaller)) {
            std::wstring log = ExistingLogBeside(uninstaller);
            if (!log.empty())
                return log;
        }
    }
    for (const std::wstring* program : {&ownProgram, &installedProgram}) {
        std::wstring log = ExistingLogBeside(*program);
        if (!log.empty())
            return log;
    }
    return {};
}

std::wstring PreviousLogPath()
{
    return PreviousLogPathFor(ProgramPath(), InstalledProgramPath());
}

}  // namespace va
