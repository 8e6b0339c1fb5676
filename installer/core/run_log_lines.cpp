#include "installer/core/run_log_lines.h"

#include "identity/core/install_kind.h"

namespace va {
namespace {

const wchar_t* EntryName(std::int32_t type)
{
    switch (type) {
    case CreatedFolder:
        return L"folder";
    case InstalledFile:
        return L"file";
    case ProgramShortcut:
        return L"program shortcut";
    case UninstallShortcut:
        return L"uninstall shortcut";
    case DesktopShortcut:
        return L"desktop shortcut";
    case UninstallKey:
        return L"uninstall key";
    case FileTypes:
        return L"file types (left)";
    case DirectXRuntime:
        return L"DirectX runtime (left)";
    default:
        return L"entry";
    }
}

}  // namespace

std::wstring InstallKindName(std::int32_t kind)
{
    switch (kind) {
    case Fresh:
        return L"Fresh";
    case Reinstall:
        return L"Reinstall";
    case Update:
        return L"Update";
    case NewerInstalled:
        return L"NewerInstalled";
    default:
        return std::to_wstring(kind);
    }
}

std::wstring UndoLine(const LogEntry& entry)
{
    std::wstring line = L"rollback: " + std::wstring(EntryName(entry.Type));
    if (!entry.Path.empty())
        line += L" " + entry.Path;
    if (!entry.BackupPath.empty())
        line += L" (its predecessor put back from " + entry.BackupPath + L")";
    return line;
}

const wchar_t* YesNo(bool value) noexcept
{
    return value ? L"yes" : L"no";
}

}  // namespace va
