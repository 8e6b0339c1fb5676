#pragma once
// The installer's application object: the start-up sequence, and the one
// session (engine/session/install_session.h) that the wizard pages and the
// install transaction read and write.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "installer/core/installer_switches.h"
#include "engine/session/install_session.h"
#include "framework/win_app.h"
#include "support/gui_handles.h"

namespace va {

class CInstallApp : public CWinApp, public InstallSession {
public:
    CInstallApp();
    ~CInstallApp() override;

    // Runs the start-up checks and the wizard (or the quiet installation);
    // always false.
    BOOL InitInstance() override;
    // The run's exit code (support/core/exit_codes.h), also written to the log.
    int ExitInstance() override;
    int DoMessageBox(const std::wstring& text, UINT type) override;
    void ProcessWndProcException(HWND window, UINT message) override;

    HICON ApplicationIcon() const noexcept { return icon_.get(); }

    // The steps of InitInstance, in their order.  Those returning bool end
    // start-up on false, after showing their message; the registry lookups
    // and the rights query raise std::system_error on real failures.
    void ChooseInterfaceLanguage(const std::function<LANGID()>& userDefault = {});  // the user default
    bool CheckRights();
    // Undoes the journals of interrupted runs (interrupted_runs.cpp); false,
    // after refusing with 1603, when one cannot be undone.
    bool RecoverInterruptedRuns();
    bool WaitForOtherInstances();
    void DetermineInstallKind(const std::wstring& installedProgram);
    void TakePreviousFolders();
    void RunWizard();

    // The command line ("/quiet", "/log=FILE", ...), read from `commandLine`
    // (the whole line, program included); the log is opened here.
    void TakeCommandLine(const std::wstring& commandLine);
    // Once the language is chosen: refuses a bad line or a log that could
    // not be made (87), answers "/?" (0); false when start-up ends there.
    bool AcceptCommandLine();
    // "/lang", with the Start page's fallback for an untranslated language.
    void ApplyLanguageSwitch();
    // "/dir" (a fresh installation only), "/group", "/nostartmenu", "/nodesktop".
    void ApplyFolderSwitches();
    // The installation without window: the transaction with the log as sink.
    void RunQuietly();

    const InstallerOptions& Options() const noexcept { return switches_.options; }
    int ExitCode() const noexcept { return exitCode_; }

    // The session's title, and the application's name message boxes show.
    void SetApplicationTitle(const std::wstring& title) override;

private:
    void RunStartup();
    // Ends start-up with `exitCode`: the text goes to the log, and to a box
    // unless the run is quiet.
    void Refuse(int exitCode, const std::wstring& text, UINT icon = MB_ICONEXCLAMATION);
    bool Quiet() const noexcept { return Options().mode == RunMode::Quiet; }
    void LogSessionFacts();

    UniqueIcon icon_;
    ParsedInstallerOptions switches_;
    DWORD logError_ = ERROR_SUCCESS;  // why the "/log" file could not be made
    int exitCode_ = 0;
};

// The application icon, for the message boxes and the wizard host.
HICON ApplicationIconHook();

// The default folders of a fresh installation; empty when none can be made
// (the folder with the maker's and the product's names does not fit in
// MAX_PATH).  `specialFolder` stands in for SHGetSpecialFolderPathW (no
// owner, no creation).
using SpecialFolderQuery = std::function<bool(int csidl, wchar_t* buffer)>;
std::wstring DefaultInstallFolder(const SpecialFolderQuery& specialFolder = {});
std::wstring DefaultStartMenuFolder(const SpecialFolderQuery& specialFolder = {});

}  // namespace va
