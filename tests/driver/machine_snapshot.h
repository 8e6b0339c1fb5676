#pragma once
// What an installation can change on the machine, recorded so that two
// moments can be compared: files and folders with their attributes under
// chosen folders (by default the whole system drive but the temporary
// folder), and chosen registry trees with every value.  The uninstaller's
// tests compare before the installation with after the uninstallation; the
// installer's end-to-end tests compare a quiet installation with the
// wizard's.

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace va::test {

struct RegistryTree {
    HKEY root;
    const wchar_t* rootName;  // for the differences' text
    std::wstring subkey;
};

// The product's trees: its uninstall key, the maker's key, and the keys of
// the product's file types under HKEY_CLASSES_ROOT.
std::vector<RegistryTree> ProductRegistryTrees();

struct SnapshotScope {
    std::vector<std::wstring> folders;   // walked with everything below them
    std::vector<std::wstring> excluded;  // left out, with everything below them
    std::vector<RegistryTree> registry;
};

// The system drive without the temporary folder, and the product's trees.
SnapshotScope DefaultScope();

struct EntryFacts {
    DWORD attributes = 0;
    ULONGLONG size = 0;        // files only
    ULONGLONG writeTime = 0;   // files only: a folder's changes when its content does
    std::wstring spelling;     // the path as found

    bool operator==(const EntryFacts& other) const
    {
        return attributes == other.attributes && size == other.size && writeTime == other.writeTime;
    }
};

struct MachineSnapshot {
    std::map<std::wstring, EntryFacts> files;       // by upper-case path; folders end with "\"
    std::map<std::wstring, std::wstring> registry;  // "ROOT\key\" for a key, "ROOT\key\:name" -> "type:data"

    static MachineSnapshot Take(const SnapshotScope& scope = DefaultScope());
};

// Every difference, one line each ("+ C:\...", "- C:\...", "~ C:\... attributes 0x20 -> 0x21",
// and the same for registry keys and values), leaving out the files named in
// `expectedAfter` when they were added or changed, and the folders above them
// that were added with them.
std::vector<std::wstring> Differences(const MachineSnapshot& before, const MachineSnapshot& after,
                                      const std::vector<std::wstring>& expectedAfter = {});

// For test output.
std::string Narrow(const std::vector<std::wstring>& lines);

}  // namespace va::test
