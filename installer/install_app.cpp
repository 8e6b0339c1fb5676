#include "installer/install_app.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "identity/version_info.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "languages/version_text.h"
#include "installer/previous_installation.h"
#include "support/message_pump.h"
#include "support/core/exit_codes.h"
#include "support/core/hresult.h"
#include "support/error_text.h"
#include "support/exception_text.h"
#include "support/format_message.h"
#include "support/instance_counter.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "support/startup.h"
#include "support/system_checks.h"
#include "wizard/install_dlg.h"

namespace va {
namespace {

constexpr int kApplicationIconId = 128;

bool SystemSpecialFolder(int csidl, wchar_t* buffer)
{
    return ::SHGetSpecialFolderPathW(nullptr, buffer, csidl, FALSE) != FALSE;
}

// Where programs go when the system will not say: the environment's answer,
// else "Program Files" on the system drive.  Never a relative folder.
std::wstring FallbackProgramFiles()
{
    wchar_t buffer[MAX_PATH + 1] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"ProgramFiles", buffer, MAX_PATH + 1);
    if (length > 0 && length <= MAX_PATH && !::PathIsRelativeW(buffer))
        return buffer;
    wchar_t windows[MAX_PATH + 1] = {};
    const UINT windowsLength = ::GetWindowsDirectoryW(windows, MAX_PATH + 1);
    std::wstring drive = windowsLength >= 2 && windows[1] == L':' ? std::wstring(windows, 2) : L"C:";
    return drive + L"\\Program Files";
}

// Empty when the joined path does not fit: a cut-short join would name the
// bare system folder (or the maker's) as the product's own.
std::wstring JoinProductFolder(wchar_t* buffer)
{
    if (!::PathAppendW(buffer, kMakerName) || !::PathAppendW(buffer, ProductKey().c_str()))
        return {};
    return buffer;
}

}  // namespace

CInstallApp::CInstallApp() : CWinApp(nullptr)
{
    try {
        InstanceMutex.Create(InstanceMutexName(ApplicationId()), false);
    } catch (...) {
        // Without the mutex AcquireInstanceMutex fails, and start-up reports
        // the mutex as held instead of ending during static initialisation.
    }
    icon_.reset(static_cast<HICON>(::LoadImageW(Instance(), MAKEINTRESOURCEW(kApplicationIconId), IMAGE_ICON, 0,
                                                0, LR_DEFAULTCOLOR)));
    SetIconHook(ApplicationIconHook);

    // The message boxes take the framework's caption, owner and modal state.
    SetApplicationNameSource([] {
        const wchar_t* name = CurrentAppName();
        return std::wstring(name ? name : L"");
    });
    SetModalHook([](bool enable) {
        if (CWinApp* app = CurrentApp())
            app->DoEnableModeless(enable);
    });
    SetOwnerHook([] {
        OwnerWindows windows;
        windows.owner = GetSafeOwner(nullptr, &windows.top);
        return windows;
    });
    // The pumps inside long calls give the dialogs their keyboard handling.
    SetPreTranslateHook(PreTranslateAppMessage);
    SetApplicationTitleHook([](const std::wstring& title) {
        if (CWinApp* app = CurrentApp())
            static_cast<CInstallApp*>(app)->SetApplicationTitle(title);
    });
}

CInstallApp::~CInstallApp()
{
    SetPreTranslateHook(nullptr);
    SetApplicationTitleHook({});
    SetOwnerHook({});
    SetModalHook({});
    SetApplicationNameSource({});
    SetIconHook({});
}

HICON ApplicationIconHook()
{
    CWinApp* app = CurrentApp();
    return app ? static_cast<CInstallApp*>(app)->ApplicationIcon() : nullptr;
}

int CInstallApp::DoMessageBox(const std::wstring& text, UINT type)
{
    return ShowMessage(text, type);
}

void CInstallApp::ProcessWndProcException(HWND window, UINT message)
{
    try {
        ShowMessage(ExceptionText(std::current_exception()), MB_OK | MB_ICONEXCLAMATION);
    } catch (...) {
        // Without its report the failed window must still be closed.
    }
    CWinApp::ProcessWndProcException(window, message);
}

BOOL CInstallApp::InitInstance()
{
    // A failing registry read or rights query must not end the process
    // unexplained: its text is shown and start-up ends.  A Windows code
    // reads as with ShowErrorCode; other categories keep their own text.
    try {
        try {
            TakeCommandLine(::GetCommandLineW());
            RunStartup();
        } catch (...) {
            Refuse(exit_code::kFailed, ExceptionText(std::current_exception()));
        }
    } catch (...) {
        // Not even the report could be shown: start-up ends all the same.
        exitCode_ = exit_code::kFailed;
    }
    return FALSE;
}

int CInstallApp::ExitInstance()
{
    TextLog.Line(L"exit code " + std::to_wstring(exitCode_));
    TextLog.Close();
    return exitCode_;
}

void CInstallApp::Refuse(int exitCode, const std::wstring& text, UINT icon)
{
    exitCode_ = exitCode;
    TextLog.Line(text);
    // A quiet run's boxes are quiet already (the quiet hook); the ones that
    // ask a question never come this way.
    ShowMessage(text, MB_OK | icon);
}

void CInstallApp::RunStartup()
{
    if (!ProcessorSupported) {
        Refuse(exit_code::kUnsupportedProcessor, ErrorText(static_cast<DWORD>(kUnexpected)));
        return;
    }
    if (!AcquireInstanceMutex()) {
        Refuse(exit_code::kAnotherInstaller, ErrorText(ERROR_BUSY));
        return;
    }
    CWinApp::InitInstance();
    ChooseInterfaceLanguage();
    if (!AcceptCommandLine())
        return;
    ApplyLanguageSwitch();
    if (!CheckRights() || !RecoverInterruptedRuns() || !WaitForOtherInstances())
        return;
    DetermineInstallKind(InstalledProgramPath());
    TakePreviousFolders();
    ApplyFolderSwitches();
    LogSessionFacts();
    if (Quiet())
        RunQuietly();
    else
        RunWizard();
}

void CInstallApp::ChooseInterfaceLanguage(const std::function<LANGID()>& userDefault)
{
    SetLanguage(LanguageFromUserDefault(kProductLanguageMask, userDefault));

    DWORD type = REG_DWORD;
    DWORD value = 0;
    DWORD size = sizeof(value);
    if (::SHGetValueW(HKEY_LOCAL_MACHINE, UninstallKeyName().c_str(), L"VaLanguage", &type, &value, &size) ==
            ERROR_SUCCESS &&
        IsProductLanguage(static_cast<LanguageIndex>(value)))
        SetLanguage(static_cast<LanguageIndex>(value));

    if (!IsInstallerTranslated(CurrentLanguage().Index))
        SetLanguage(kEnglish);

    SetApplicationTitle(InstallerTitle(true));
}

void CInstallApp::SetApplicationTitle(const std::wstring& title)
{
    InstallSession::SetApplicationTitle(title);
    SetAppName(title);
}

bool CInstallApp::CheckRights()
{
    if (IsAdministrator())
        return true;
    Refuse(exit_code::kNoAdministrator, InstallerMessage(kMessageNoRights));
    return false;
}

bool CInstallApp::WaitForOtherInstances()
{
    while (CountInstances() > 1) {
        const std::wstring text =
            FormatInserts(InstallerMessage(kMessageCloseProduct), {ProductDisplayName(false)});
        TextLog.Line(text);
        // Quiet: nobody could answer Retry.
        if (Quiet() || ShowMessage(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION) == IDCANCEL) {
            exitCode_ = exit_code::kProductRunning;
            return false;
        }
    }
    return true;
}

void CInstallApp::DetermineInstallKind(const std::wstring& installedProgram)
{
    FoundVersionText.clear();
    FoundVersion = 0;
    if (installedProgram.empty()) {
        InstallKind = Fresh;
        return;
    }
    const VersionInfo info(installedProgram);
    if (!info.HasFixedBlock()) {
        InstallKind = Reinstall;
        return;
    }
    const ProductVersion found = info.FileVersion();
    if (found > kThisProductVersion) {
        InstallKind = NewerInstalled;
        FoundVersionText = VersionDisplayText(info);
    } else if (found == kThisProductVersion) {
        InstallKind = Reinstall;
    } else {
        InstallKind = Update;
        FoundVersionText = VersionDisplayText(info);
        FoundVersion = found;
    }
}

void CInstallApp::TakePreviousFolders()
{
    if (InstallKind == Reinstall || InstallKind == Update) {
        std::wstring ignored;
        const std::wstring log = PreviousLogPath(&ignored);
        if (!ignored.empty())
            TextLog.Line(L"ignored a log beside the installer that does not describe the installed program's folder: " +
                         ignored);
        if (!log.empty()) {
            PreviousLog.ReadLog(&log);
            InstallFolder = PreviousLog.InstallPath;
            StartMenuFolder = PreviousLog.ShortcutPath;
        }
    } else {
        PreviousLog.ReadLog(nullptr);
    }
    if (InstallFolder.empty())
        InstallFolder = DefaultInstallFolder();
    if (StartMenuFolder.empty())
        StartMenuFolder = DefaultStartMenuFolder();
    CreateStartMenuShortcut = true;
    CreateDesktopShortcut = true;
    AdvancedInstallation = false;
}

void CInstallApp::RunWizard()
{
    // A refused installation has nothing to run at once: its Start page says why.
    const bool passive = Options().mode == RunMode::Passive && InstallKind != NewerInstalled;
    CInstallDlg host(passive);
    SetMainDialog(&host);
    host.DoModal();
    SetMainWindow(nullptr);
    if (InstallSucceeded)
        exitCode_ = exit_code::kSuccess;
    else if (InstallKind == NewerInstalled)
        exitCode_ = exit_code::kNewerInstalled;
    else if (host.InstallationFailed())
        exitCode_ = exit_code::kFailed;
    else
        exitCode_ = exit_code::kCancelled;
}

std::wstring DefaultInstallFolder(const SpecialFolderQuery& specialFolder)
{
    wchar_t buffer[261] = {};
    const bool found = specialFolder ? specialFolder(CSIDL_PROGRAM_FILES, buffer)
                                     : SystemSpecialFolder(CSIDL_PROGRAM_FILES, buffer);
    if (!found || buffer[0] == L'\0') {
        const std::wstring fallback = FallbackProgramFiles();
        buffer[fallback.copy(buffer, 260)] = L'\0';
    }
    return JoinProductFolder(buffer);
}

std::wstring DefaultStartMenuFolder(const SpecialFolderQuery& specialFolder)
{
    wchar_t buffer[260] = {};
    const SpecialFolderQuery query = specialFolder ? specialFolder : SpecialFolderQuery(SystemSpecialFolder);
    if (!query(CSIDL_COMMON_PROGRAMS, buffer))
        query(CSIDL_PROGRAMS, buffer);
    // Without any Start menu there is no folder for the shortcuts: a relative
    // one would put them below whatever the current folder happens to be.
    if (buffer[0] == L'\0')
        return {};
    return JoinProductFolder(buffer);
}

}  // namespace va
