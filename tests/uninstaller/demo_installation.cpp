#include "tests/uninstaller/demo_installation.h"

#include <shlobj.h>
#include <shlwapi.h>

#include <filesystem>
#include <stdexcept>

#include "engine/steps/file_type_registration.h"
#include "engine/steps/registry_entries.h"
#include "engine/steps/shortcuts.h"
#include "engine/journal/uninstall_log.h"
#include "support/handles.h"
#include "support/instance_mutex.h"
#include "tests/common/engine_fakes.h"
#include "tests/common/file_bytes.h"
#include "tests/common/standins.h"

namespace va::test {
namespace {

constexpr wchar_t kSessionManager[] = L"System\\CurrentControlSet\\Control\\Session Manager";

std::wstring Special(int csidl)
{
    wchar_t path[MAX_PATH + 1] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        throw std::runtime_error("no special folder " + std::to_string(csidl));
    return path;
}

void Require(bool ok, const char* step)
{
    if (!ok)
        throw std::runtime_error(std::string("demo installation: ") + step);
}

void WriteDemoFile(const std::wstring& path, const std::string& bytes)
{
    Require(WriteBytes(path, bytes), "write a file");
}

// One package entry placed as the file placement does it: journalled (with
// its missing folders) before it is written, committed once it is there.
void Place(UninstallLog& log, const std::wstring& path, std::int32_t kind, const std::wstring& source)
{
    log.RecordFile(path, kind, false);
    if (source.empty())
        WriteDemoFile(path, "demo " + std::string(path.begin(), path.end()) + "\n");
    else
        Require(::CopyFileW(source.c_str(), path.c_str(), FALSE), "copy a program");
    log.CommitOutcome(1);
}

void RemoveTree(const std::wstring& path)
{
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path, error))
        ::SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    std::filesystem::remove_all(path, error);
}

}  // namespace

std::wstring BuiltUninstaller()
{
    // Test programs live in <tree>\tests-bin, the uninstaller in <tree>\bin.
    return StandinsFolder() + L"\\..\\bin\\Uninstall.exe";
}

DemoInstallation DemoLayout()
{
    DemoInstallation d;
    d.installFolder = Special(CSIDL_PROGRAM_FILES) + L"\\Vantaro\\Trelvane 7";
    d.startMenuFolder = Special(CSIDL_COMMON_PROGRAMS) + L"\\Vantaro\\Trelvane 7";
    d.dataFolder = Special(CSIDL_COMMON_APPDATA) + L"\\Vantaro\\Trelvane 7";
    d.userDataFolder = Special(CSIDL_APPDATA) + L"\\Vantaro\\Trelvane 7";
    d.samplesFolder = Special(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\Trelvane Examples";
    d.mainProgram = d.installFolder + L"\\Trelvane.exe";
    d.uninstaller = d.installFolder + L"\\Uninstall.exe";
    d.log = d.installFolder + L"\\Uninstall.ulog";
    d.dataFiles = {d.dataFolder + L"\\Standard.tv-lib", d.dataFolder + L"\\Metals.mat-vantaro",
                   d.userDataFolder + L"\\MyImages.bmp"};
    return d;
}

DemoInstallation InstallDemo(const DemoInstallOptions& options)
{
    DemoInstallation d = DemoLayout();
    UninstallLog log;
    if (options.overPrevious) {
        log.ReadLog(&d.log);
        Require(!log.PreviousEntries.empty(), "read the previous log");
    }

    Place(log, d.installFolder + L"\\Lang\\TrelvaneFRA.dll", 0, {});
    Place(log, d.installFolder + L"\\Lang\\TrelvaneENU.dll", 0, {});
    Place(log, d.installFolder + L"\\Lang\\TrelvaneDEU.dll", 0, {});
    // The programs are in use or read-only from an earlier run: clear that.
    ::SetFileAttributesW(d.mainProgram.c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(d.uninstaller.c_str(), FILE_ATTRIBUTE_NORMAL);
    Place(log, d.mainProgram, 1, StandinPath(options.mainProgram));
    Place(log, d.uninstaller, 2, BuiltUninstaller());
    for (const std::wstring& data : d.dataFiles) {
        if (options.overPrevious && log.IsKeptDataFile(data) && ::GetFileAttributesW(data.c_str()) != INVALID_FILE_ATTRIBUTES) {
            // An update keeps the user's data in place, journalled as kept.
            log.RecordFile(data, 3, true);
            log.CommitOutcome(1);
        } else {
            Place(log, data, 3, {});
        }
    }
    for (const wchar_t* sample : {L"\\Welcome.tv-proj", L"\\Starter.tv-cab"})
        Place(log, d.samplesFolder + sample, 4, {});
    for (const wchar_t* texture : {L"\\Textures\\Oak.jpg", L"\\Textures\\Slate.jpg"})
        Place(log, d.dataFolder + texture, 4, {});
    for (const std::wstring& extra : options.extraFiles)
        Place(log, d.installFolder + L"\\" + extra, 0, {});
    ::SetFileAttributesW(d.mainProgram.c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(d.uninstaller.c_str(), FILE_ATTRIBUTE_READONLY);

    const ProductPaths paths{d.mainProgram, d.uninstaller};
    RecordingProgress progress;
    FixedTexts texts;
    Require(CreateShortcuts(log, ShortcutChoices{true, true, d.startMenuFolder}, paths, texts, progress, nullptr),
            "shortcuts");
    for (const LogEntry& entry : log.NewEntries)
        if (entry.Type >= ProgramShortcut && entry.Type <= DesktopShortcut)
            d.shortcuts.push_back(entry.Path);

    log.RecordDirectX();
    const std::wstring directx = L"Mise \u00e0 jour de DirectX...";
    log.CommitOutcome(1, &directx);

    Require(WriteUninstallKey(log, paths, options.languageIndex), "uninstall key");
    Require(WriteProductPathValue(d.mainProgram), "program path");
    if (options.fileTypes) {
        InstanceMutex mutex;
        mutex.Create(InstanceMutexName(L"Trelvane7"), false);
        Require(RegisterFileTypes(log, d.mainProgram, 0, mutex), "file types");
    }  // let go: the uninstaller takes the mutex
    Require(log.WriteLog(d.log, d.installFolder, d.startMenuFolder), "log");
    return d;
}

std::vector<std::wstring> RestartDeletions()
{
    std::vector<std::wstring> paths;
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return paths;
    DWORD type = 0;
    DWORD size = 0;
    if (::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return paths;
    std::wstring data(size / sizeof(wchar_t) + 1, L'\0');
    if (::RegQueryValueExW(key.get(), L"PendingFileRenameOperations", nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return paths;
    data.resize(size / sizeof(wchar_t));
    // Pairs of source and target; an empty target deletes the source.
    std::vector<std::wstring> strings;
    for (std::size_t at = 0; at < data.size();) {
        const std::size_t end = data.find(L'\0', at);
        strings.push_back(data.substr(at, end == std::wstring::npos ? std::wstring::npos : end - at));
        if (end == std::wstring::npos)
            break;
        at = end + 1;
    }
    for (std::size_t n = 0; n + 1 < strings.size(); n += 2) {
        std::wstring source = strings[n];
        if (source.empty())
            break;
        if (source.rfind(L"\\??\\", 0) == 0)
            source.erase(0, 4);
        if (strings[n + 1].empty())
            paths.push_back(source);
    }
    return paths;
}

void RemoveDemoTraces()
{
    const DemoInstallation d = DemoLayout();
    for (const std::wstring& folder : {d.installFolder, d.startMenuFolder, d.dataFolder, d.userDataFolder, d.samplesFolder})
        RemoveTree(folder);
    for (const std::wstring& folder : {d.installFolder, d.startMenuFolder, d.dataFolder, d.userDataFolder}) {
        const std::wstring maker = folder.substr(0, folder.find_last_of(L'\\'));
        ::RemoveDirectoryW(maker.c_str());  // only when empty: another product may live there
    }
    for (const int csidl : {CSIDL_COMMON_DESKTOPDIRECTORY, CSIDL_DESKTOPDIRECTORY})
        ::DeleteFileW((Special(csidl) + L"\\Trelvane 7.08g.lnk").c_str());
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7");
    ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, L"Software\\Vantaro");
    for (const wchar_t* key : {L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7", L"Trelvane.Cabinet.7",
                               L"Trelvane.Library.7"})
        ::SHDeleteKeyW(HKEY_CLASSES_ROOT, key);
    ::SHDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vantaro\\Test\\Trelvane stand-in");
    // The uninstaller's copies in the temporary folder go this way.
    CarryOutRestartDeletions();
}

void CarryOutRestartDeletions()
{
    for (const std::wstring& path : RestartDeletions()) {
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (!::DeleteFileW(path.c_str()))
            ::RemoveDirectoryW(path.c_str());
    }
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, key.put()) == ERROR_SUCCESS)
        ::RegDeleteValueW(key.get(), L"PendingFileRenameOperations");
}

}  // namespace va::test
