#pragma once
// An installation of the demo package made the way the install transaction
// makes it, through the engine's own journal and steps (folders, files with
// their kinds, shortcuts, the DirectX entry, the uninstall key, the program
// path, the file types registered by the product stand-in) and the log
// written by the engine's writer; with the real uninstaller as
// "Uninstall.exe".  Until the transaction exists, this is how the
// uninstaller's tests get something to remove.

#include <windows.h>

#include <string>
#include <vector>

namespace va::test {

struct DemoInstallOptions {
    // The main program: the stand-in at 7.8.7.1, or a variant folder below
    // the stand-ins ("trelvane-7.8.7.0\\Trelvane.exe" for an older one).
    std::wstring mainProgram = L"Trelvane.exe";
    // Files of the installation's own besides the package's (below the
    // installation folder), e.g. one only an older version shipped.
    std::vector<std::wstring> extraFiles;
    // Read the log of the installation there is and merge it, as an update
    // or a reinstallation does.
    bool overPrevious = false;
    // Let the product stand-in register its file types (and so the
    // uninstaller unregister them): two more programs to run, which under
    // an emulated Wine take long, so only where the test is about them.
    bool fileTypes = false;
    DWORD languageIndex = 1;  // "VaLanguage"
};

struct DemoInstallation {
    std::wstring installFolder;
    std::wstring startMenuFolder;
    std::wstring dataFolder;      // <CommonData>\Vantaro\Trelvane 7
    std::wstring userDataFolder;  // <UserData>\Vantaro\Trelvane 7
    std::wstring samplesFolder;   // on the common desktop
    std::wstring mainProgram;
    std::wstring uninstaller;
    std::wstring log;
    std::vector<std::wstring> dataFiles;  // EntryKind 3
    std::vector<std::wstring> shortcuts;
};

// Where the demo package goes on this machine.
DemoInstallation DemoLayout();

// Installs; raises std::runtime_error naming the step that failed.
DemoInstallation InstallDemo(const DemoInstallOptions& options = {});

// Removes whatever an installation or a failed test left, by force: the
// folders with their content, the shortcuts, the product's keys and file
// types; then carries out the restart deletions and empties their list.
void RemoveDemoTraces();

// The paths Windows is asked to delete at the next restart (without the
// "\??\" prefix), in their order.
std::vector<std::wstring> RestartDeletions();
// Deletes them as the restart would, in order, and empties the list.
void CarryOutRestartDeletions();

// The real uninstaller of this build tree.
std::wstring BuiltUninstaller();

}  // namespace va::test
