#include "tests/installer/entry/faults/sweep_support.h"

#include <shlwapi.h>

#include <cwctype>
#include <stdexcept>
#include <system_error>

#include "engine/journal/privilege.h"
#include "engine/package/core/crc32.h"
#include "engine/package/core/package_format.h"
#include "support/handles.h"
#include "tests/common/file_bytes.h"
#include "tests/common/installer_copy.h"
#include "tests/common/remove_tree.h"
#include "tests/common/standins.h"
#include "support/utf8_text.h"
#include "tests/driver/driver.h"
#include "tests/uninstaller/demo_installation.h"

namespace va::test {
namespace {

constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7";

void WriteOrThrow(const std::wstring& path, const std::string& bytes)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!WriteBytes(path, bytes))
        throw std::runtime_error("cannot write " + Narrow(path));
}

void SetText(HKEY key, const wchar_t* name, const std::wstring& text)
{
    ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

bool IsProductPath(const std::wstring& upperPath)
{
    return upperPath.find(L"VANTARO") != std::wstring::npos || upperPath.find(L"TRELVANE") != std::wstring::npos;
}

// The environment the fault flavour reads; a report from an earlier run
// is removed.
void SetFaultEnvironment(const FaultSettings& faults)
{
    auto set = [](const wchar_t* name, unsigned long value) {
        ::SetEnvironmentVariableW(name, value ? std::to_wstring(value).c_str() : nullptr);
    };
    set(L"TRELVANE_FAULT_POINT", faults.failAt);
    set(L"TRELVANE_FAULT_PAUSE", faults.pauseAt);
    set(L"TRELVANE_STOP_AFTER_RECOVERY", faults.stopAfterRecovery ? 1 : 0);
    ::SetEnvironmentVariableW(L"TRELVANE_FAULT_REPORT", faults.report.empty() ? nullptr : faults.report.c_str());
    if (!faults.report.empty())
        ::DeleteFileW(faults.report.c_str());
}

std::wstring TemporaryFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

std::wstring FactsText(const EntryFacts& facts, bool times)
{
    wchar_t text[120];
    swprintf(text, 120, L"attributes 0x%lx, size %llu", facts.attributes, facts.size);
    std::wstring result = text;
    if (times)
        result += L", time " + std::to_wstring(facts.writeTime);
    return result;
}

}  // namespace

const char* ScenarioName(Scenario scenario)
{
    switch (scenario) {
    case Scenario::Fresh:
        return "fresh";
    case Scenario::Update:
        return "update";
    case Scenario::Reinstall:
        return "reinstall";
    }
    return "?";
}

void CleanMachine() { RemoveDemoTraces(); }

void PrepareMachine(Scenario scenario)
{
    RemoveDemoTraces();
    if (scenario == Scenario::Fresh)
        return;
    DemoInstallOptions options;
    if (scenario == Scenario::Update)
        options.mainProgram = L"trelvane-7.8.7.0\\Trelvane.exe";
    const DemoInstallation d = InstallDemo(options);
    if (scenario != Scenario::Update)
        return;
    // The older version's own key, so that a key left as the new run wrote
    // it shows; and data files the user has changed since.
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, KEY_SET_VALUE, key.put()) != ERROR_SUCCESS)
        throw std::runtime_error("update: no uninstall key");
    SetText(key.get(), L"DisplayName", L"Trelvane 7.08f");
    SetText(key.get(), L"DisplayVersion", L"7.08f");
    for (const std::wstring& data : d.dataFiles)
        WriteOrThrow(data, "changed by the user: " + Narrow(data) + "\n");
}

std::string SmallPackage(const std::wstring& installer)
{
    const std::optional<std::string> package = EmbeddedPackage(installer);
    if (!package)
        throw std::runtime_error("the installer carries no package");
    const std::string bytes = Decompress(*package);
    if (bytes.size() < kTableHeaderSize)
        throw std::runtime_error("the installer's package does not decompress");
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::uint64_t tableLength = read_table_length(raw);
    const std::vector<PackageEntry> entries = parse_table(raw, static_cast<std::size_t>(tableLength));

    std::vector<PackageEntry> kept;
    std::string data;
    bool seen[6] = {};
    std::uint64_t offset = tableLength;
    for (const PackageEntry& entry : entries) {
        const std::wstring name(file_name_of(entry.source));
        const bool take = entry.kind == DirectXSetupFile ? _wcsicmp(name.c_str(), L"DSetup.dll") == 0
                                                         : entry.kind != LanguageLibrary && entry.kind < 6 &&
                                                               !seen[entry.kind];
        if (take) {
            seen[entry.kind] = true;
            kept.push_back(entry);
            if (entry.kind == Uninstaller) {
                // Never run here: a few bytes stand in for it, and every
                // run decompresses, writes and reads back that much less.
                const std::string standIn = "the uninstaller's place in the fault sweep's package\r\n";
                kept.back().size = standIn.size();
                kept.back().crc = crc32_of(standIn.data(), standIn.size());
                data += standIn;
            } else {
                data.append(bytes, static_cast<std::size_t>(offset), static_cast<std::size_t>(entry.size));
            }
        }
        offset += entry.size;
    }
    const std::vector<unsigned char> table = encode_table(kept);
    return package_test::Compress(std::string(table.begin(), table.end()) + data);
}

std::wstring BuildFolder() { return StandinsFolder() + L"\\.."; }
std::wstring ShippedInstaller() { return BuildFolder() + L"\\bin\\InstallTrelvane7.08g.exe"; }
std::wstring FaultFlavour() { return BuildFolder() + L"\\bin\\InstallTrelvane7.08g-faults.exe"; }

std::wstring ScratchFolder()
{
    const std::wstring folder = TemporaryFolder() + L"trelvane_fault_sweep";
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

RunResult RunQuiet(const std::wstring& program, const FaultSettings& faults)
{
    const std::wstring log = ScratchFolder() + L"\\run.log";
    ::DeleteFileW(log.c_str());
    SetFaultEnvironment(faults);

    RunResult result;
    result.exitCode = RunToEnd(Quoted(program) + L" /quiet /log=" + Quoted(log));
    result.log = FileBytes(log);
    return result;
}

std::vector<PointLine> ReadReport(const std::wstring& report)
{
    std::vector<PointLine> lines;
    const std::string text = FileBytes(report);
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        const std::string line = text.substr(start, end - start);
        const std::size_t first = line.find(' ');
        const std::size_t second = first == std::string::npos ? first : line.find(' ', first + 1);
        if (second == std::string::npos)
            continue;
        lines.push_back({std::stoul(line.substr(0, first)), line.substr(first + 1, second - first - 1),
                         line.substr(second + 1)});
    }
    return lines;
}

bool RunKilled(const std::wstring& program, const FaultSettings& faults)
{
    SetFaultEnvironment(faults);
    Process process;
    try {
        // In the test program's kill-on-close job: a held run never
        // outlives the sweep, whatever ends it.
        process = StartProgram(program, L"/quiet");
    } catch (const std::system_error&) {
        return false;
    }
    bool held = false;
    // Generous: an emulated Wine may take minutes; never a measure of speed.
    const ULONGLONG limit = ::GetTickCount64() + 10 * 60 * 1000;
    while (!held && ::GetTickCount64() < limit) {
        held = FileBytes(faults.report).find(" paused ") != std::string::npos;
        if (!held && ::WaitForSingleObject(process.handle.get(), 5) == WAIT_OBJECT_0)
            break;
    }
    ::TerminateProcess(process.handle.get(), 1);
    ::WaitForSingleObject(process.handle.get(), INFINITE);
    return held;
}

std::set<std::wstring> TemporaryEntries()
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    UniqueFind find(::FindFirstFileW((TemporaryFolder() + L"*").c_str(), &found));
    if (find) {
        do
            names.insert(found.cFileName);
        while (::FindNextFileW(find.get(), &found));
    }
    return names;
}

void RemoveTemporaryEntry(const std::wstring& name)
{
    const std::wstring path = TemporaryFolder() + name;
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!::DeleteFileW(path.c_str()))
        RemoveTree(path);
}

Machine TakeMachine()
{
    Machine machine;
    machine.snapshot = MachineSnapshot::Take(DefaultScope());
    for (const auto& [key, facts] : machine.snapshot.files) {
        if (key.back() == L'\\' || !IsProductPath(key))
            continue;
        const std::string bytes = FileBytes(facts.spelling);
        machine.contents[key] = crc32_of(bytes.data(), bytes.size());
    }
    return machine;
}

std::vector<std::wstring> Compare(const Machine& before, const Machine& after, bool times)
{
    std::vector<std::wstring> lines;
    const auto& a = before.snapshot.files;
    const auto& b = after.snapshot.files;
    for (const auto& [key, facts] : a) {
        const auto found = b.find(key);
        if (found == b.end()) {
            lines.push_back(L"- " + facts.spelling);
            continue;
        }
        const EntryFacts& now = found->second;
        const bool same = facts.attributes == now.attributes && facts.size == now.size &&
                          (!times || facts.writeTime == now.writeTime);
        if (!same)
            lines.push_back(L"~ " + facts.spelling + L" (" + FactsText(facts, times) + L" -> " +
                            FactsText(now, times) + L")");
        // A link records its target's times: two installations' links
        // differ in them, a link put back is the same file.
        else if (before.contents.count(key) && after.contents.count(key) &&
                 before.contents.at(key) != after.contents.at(key) &&
                 (times || key.size() < 4 || key.compare(key.size() - 4, 4, L".LNK") != 0))
            lines.push_back(L"~ " + facts.spelling + L" (contents)");
    }
    for (const auto& [key, facts] : b)
        if (!a.count(key))
            lines.push_back(L"+ " + facts.spelling);
    const auto& ra = before.snapshot.registry;
    const auto& rb = after.snapshot.registry;
    for (const auto& [key, data] : ra) {
        const auto found = rb.find(key);
        if (found == rb.end())
            lines.push_back(L"- " + key);
        else if (found->second != data)
            lines.push_back(L"~ " + key + L" (" + data + L" -> " + found->second + L")");
    }
    for (const auto& [key, data] : rb)
        if (!ra.count(key))
            lines.push_back(L"+ " + key + (data.empty() ? L"" : L" = " + data));
    return lines;
}

bool RegistryRestoreWorks()
{
    constexpr wchar_t kProbe[] = L"Software\\TrelvaneFaultSweepProbe";
    const std::wstring file = ScratchFolder() + L"\\probe.hive";
    ::DeleteFileW(file.c_str());
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kProbe);
    UniqueKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kProbe, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, key.put(), nullptr) !=
        ERROR_SUCCESS)
        return false;
    SetText(key.get(), L"v", L"saved");
    SetPrivilege(SE_BACKUP_NAME, true);
    SetPrivilege(SE_RESTORE_NAME, true);
    bool works = false;
    if (::RegSaveKeyW(key.get(), file.c_str(), nullptr) == ERROR_SUCCESS) {
        SetText(key.get(), L"v", L"changed");
        if (::RegRestoreKeyW(key.get(), file.c_str(), 0) == ERROR_SUCCESS) {
            wchar_t value[32] = {};
            DWORD size = sizeof value - sizeof(wchar_t);
            ::RegQueryValueExW(key.get(), L"v", nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
            works = std::wstring(value) == L"saved";
        }
    }
    key.reset();
    ::SHDeleteKeyW(HKEY_CURRENT_USER, kProbe);
    ::DeleteFileW(file.c_str());
    return works;
}

std::string Narrow(const std::wstring& text)
{
    return Utf8(text);
}

bool Contains(const std::wstring& haystack, const wchar_t* needle)
{
    return Upper(haystack).find(Upper(needle)) != std::wstring::npos;
}

}  // namespace va::test
