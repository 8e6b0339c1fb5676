#include "tests/driver/machine_snapshot.h"

#include <cwctype>
#include <set>

#include "support/handles.h"

namespace va::test {
namespace {

std::wstring Upper(std::wstring text)
{
    for (wchar_t& c : text)
        c = static_cast<wchar_t>(std::towupper(c));
    return text;
}

std::wstring WithoutTrailingSlash(std::wstring path)
{
    while (path.size() > 3 && (path.back() == L'\\' || path.back() == L'/'))
        path.pop_back();
    return path;
}

bool IsExcluded(const std::wstring& upperPath, const std::vector<std::wstring>& upperExcluded)
{
    for (const std::wstring& e : upperExcluded)
        if (upperPath == e || (upperPath.size() > e.size() && upperPath.compare(0, e.size(), e) == 0 &&
                               (e.back() == L'\\' || upperPath[e.size()] == L'\\')))
            return true;
    return false;
}

void Walk(const std::wstring& folder, const std::vector<std::wstring>& excluded, MachineSnapshot& snapshot)
{
    WIN32_FIND_DATAW found;
    const std::wstring base = folder.back() == L'\\' ? folder : folder + L"\\";
    UniqueFind find(::FindFirstFileExW((base + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                       nullptr, 0));
    if (!find)
        return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const std::wstring path = base + name;
        const std::wstring key = Upper(path);
        if (IsExcluded(key, excluded))
            continue;
        EntryFacts facts;
        facts.attributes = found.dwFileAttributes;
        facts.spelling = path;
        const bool folderEntry = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
        if (!folderEntry) {
            facts.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
            facts.writeTime = (static_cast<ULONGLONG>(found.ftLastWriteTime.dwHighDateTime) << 32) |
                              found.ftLastWriteTime.dwLowDateTime;
        }
        snapshot.files[folderEntry ? key + L"\\" : key] = facts;
        // Links are recorded, never followed: they may lead anywhere.
        if (folderEntry && !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
            Walk(path, excluded, snapshot);
    } while (::FindNextFileW(find.get(), &found));
}

std::wstring Hex(const BYTE* data, DWORD size)
{
    static const wchar_t digits[] = L"0123456789abcdef";
    std::wstring text;
    for (DWORD i = 0; i < size; ++i) {
        text.push_back(digits[data[i] >> 4]);
        text.push_back(digits[data[i] & 15]);
    }
    return text;
}

void RecordKey(HKEY key, const std::wstring& name, MachineSnapshot& snapshot)
{
    snapshot.registry[Upper(name) + L"\\"] = {};
    for (DWORD index = 0;; ++index) {
        wchar_t valueName[16384];
        DWORD nameLength = 16384;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size + 2);
        nameLength = 16384;
        if (::RegEnumValueW(key, index, valueName, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        snapshot.registry[Upper(name) + L"\\:" + valueName] = std::to_wstring(type) + L":" + Hex(data.data(), size);
    }
    for (DWORD index = 0;; ++index) {
        wchar_t subkey[256];
        DWORD length = 256;
        if (::RegEnumKeyExW(key, index, subkey, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            break;
        UniqueKey child;
        if (::RegOpenKeyExW(key, subkey, 0, KEY_READ, child.put()) == ERROR_SUCCESS)
            RecordKey(child.get(), name + L"\\" + subkey, snapshot);
    }
}

}  // namespace

std::vector<RegistryTree> ProductRegistryTrees()
{
    std::vector<RegistryTree> trees = {
        {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Trelvane 7"},
        {HKEY_LOCAL_MACHINE, L"HKLM", L"Software\\Vantaro"},
    };
    for (const wchar_t* key : {L".tv-proj", L".tv-cab", L".tv-lib", L"Trelvane.Project.7", L"Trelvane.Cabinet.7",
                               L"Trelvane.Library.7"})
        trees.push_back({HKEY_CLASSES_ROOT, L"HKCR", key});
    return trees;
}

SnapshotScope DefaultScope()
{
    SnapshotScope scope;
    wchar_t windows[MAX_PATH + 1] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    scope.folders.push_back(std::wstring(windows, 2) + L"\\");
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    scope.excluded.push_back(temp);
    // Windows' own temporary folder changes with whatever the system does.
    scope.excluded.push_back(std::wstring(windows) + L"\\Temp");
    scope.registry = ProductRegistryTrees();
    return scope;
}

MachineSnapshot MachineSnapshot::Take(const SnapshotScope& scope)
{
    MachineSnapshot snapshot;
    std::vector<std::wstring> excluded;
    for (const std::wstring& e : scope.excluded)
        excluded.push_back(Upper(WithoutTrailingSlash(e)));
    for (const std::wstring& folder : scope.folders)
        Walk(folder, excluded, snapshot);
    for (const RegistryTree& tree : scope.registry) {
        UniqueKey key;
        if (::RegOpenKeyExW(tree.root, tree.subkey.c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
            RecordKey(key.get(), std::wstring(tree.rootName) + L"\\" + tree.subkey, snapshot);
    }
    return snapshot;
}

std::vector<std::wstring> Differences(const MachineSnapshot& before, const MachineSnapshot& after,
                                      const std::vector<std::wstring>& expectedAfter)
{
    // A file expected afterwards excuses itself (added or changed) and the
    // folders above it that were not there before.
    std::set<std::wstring> excused;
    for (const std::wstring& path : expectedAfter) {
        std::wstring key = Upper(WithoutTrailingSlash(path));
        excused.insert(key);
        for (std::size_t slash; (slash = key.find_last_of(L'\\')) != std::wstring::npos && slash > 2;) {
            key.erase(slash);
            excused.insert(key + L"\\");
        }
    }
    std::vector<std::wstring> lines;
    for (const auto& [key, facts] : before.files) {
        const auto found = after.files.find(key);
        if (found == after.files.end()) {
            lines.push_back(L"- " + facts.spelling);
        } else if (!(found->second == facts) && !excused.count(key)) {
            wchar_t text[160];
            swprintf(text, 160, L" (attributes 0x%lx -> 0x%lx, size %llu -> %llu, time %llu -> %llu)",
                     facts.attributes, found->second.attributes, facts.size, found->second.size, facts.writeTime,
                     found->second.writeTime);
            lines.push_back(L"~ " + facts.spelling + text);
        }
    }
    for (const auto& [key, facts] : after.files)
        if (!before.files.count(key) && !excused.count(key))
            lines.push_back(L"+ " + facts.spelling);
    for (const auto& [key, data] : before.registry) {
        const auto found = after.registry.find(key);
        if (found == after.registry.end())
            lines.push_back(L"- " + key);
        else if (found->second != data)
            lines.push_back(L"~ " + key + L" (" + data + L" -> " + found->second + L")");
    }
    for (const auto& [key, data] : after.registry)
        if (!before.registry.count(key))
            lines.push_back(L"+ " + key + (data.empty() ? L"" : L" = " + data));
    return lines;
}

std::string Narrow(const std::vector<std::wstring>& lines)
{
    std::string text;
    for (const std::wstring& line : lines) {
        for (wchar_t c : line)
            text.push_back(c < 0x80 ? static_cast<char>(c) : '?');
        text.push_back('\n');
    }
    return text;
}

}  // namespace va::test
