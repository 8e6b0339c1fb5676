#pragma once
// The installer's application object: the start-up sequence and the session
// state that the wizard pages and the install transaction read and write.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "app/core/product_version.h"
#include "app/install_kind.h"
#include "engine/uninstall_log.h"
#include "framework/win_app.h"
#include "support/instance_mutex.h"

namespace va {

class CInstallApp : public CWinApp {
public:
    CInstallApp();
    ~CInstallApp() override;

    // Runs the start-up checks and the wizard; always false.
    BOOL InitInstance() override;
    int DoMessageBox(const std::wstring& text, UINT type) override;
    void ProcessWndProcException(HWND window, UINT message) override;

    // InstallKind; `versionText` receives FoundVersionText for Update and
    // NewerInstalled.
    std::int32_t GetInstallKind(std::wstring* versionText = nullptr) const;
    // Names (does not create) a new per-run folder in the temporary folder.
    bool MakeTemporaryFolder(std::wstring& errorText);
    bool AcquireInstanceMutex();
    void ReleaseInstanceMutex();

    HICON ApplicationIcon() const noexcept { return icon_; }

    // The steps of InitInstance, in their order.  Those returning bool end
    // start-up on false, after showing their message; the registry lookups
    // and the rights query raise std::system_error on real failures.
    void ChooseInterfaceLanguage(const std::function<LANGID()>& userDefault = {});  // the user default
    bool CheckRights();
    bool WaitForOtherInstances();
    void DetermineInstallKind(const std::wstring& installedProgram);
    void TakePreviousFolders();
    void RunWizard();

    void SetApplicationTitle(const std::wstring& title);

    // Session state.
    std::int32_t InstallKind = Fresh;
    std::wstring FoundVersionText;
    ProductVersion FoundVersion = 0;
    ::va::InstanceMutex InstanceMutex;
    std::wstring InstallFolder;
    std::wstring StartMenuFolder;
    std::wstring TemporaryFolder;
    bool CreateStartMenuShortcut = false;
    bool CreateDesktopShortcut = false;
    bool AdvancedInstallation = false;
    UninstallLog PreviousLog;
    bool InstallSucceeded = false;
    std::wstring ApplicationTitle;

private:
    void RunStartup();

    HICON icon_ = nullptr;
};

// The one application object.
CInstallApp& InstallApp();

// The application icon, for the message boxes and the wizard host.
HICON ApplicationIconHook();

// The default folders of a fresh installation.  `specialFolder` stands in
// for SHGetSpecialFolderPathW (no owner, no creation).
using SpecialFolderQuery = std::function<bool(int csidl, wchar_t* buffer)>;
std::wstring DefaultInstallFolder(const SpecialFolderQuery& specialFolder = {});
std::wstring DefaultStartMenuFolder(const SpecialFolderQuery& specialFolder = {});

}  // namespace va
