#pragma once
// The installer's application object: the start-up sequence, and the one
// session (engine/session/install_session.h) that the wizard pages and the
// install transaction read and write.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "engine/session/install_session.h"
#include "framework/win_app.h"

namespace va {

class CInstallApp : public CWinApp, public InstallSession {
public:
    CInstallApp();
    ~CInstallApp() override;

    // Runs the start-up checks and the wizard; always false.
    BOOL InitInstance() override;
    int DoMessageBox(const std::wstring& text, UINT type) override;
    void ProcessWndProcException(HWND window, UINT message) override;

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

    // The session's title, and the application's name message boxes show.
    void SetApplicationTitle(const std::wstring& title) override;

private:
    void RunStartup();

    HICON icon_ = nullptr;
};

// The one application object (the wizard and the engine use Session()).
CInstallApp& InstallApp();

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
