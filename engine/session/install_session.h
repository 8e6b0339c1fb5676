#pragma once
// The state of one installer run that start-up fills, the wizard pages read
// and write and the install transaction acts on.  The application object is
// the one session; the wizard and the engine reach it through Session() and
// never through the application itself.

#include <cstdint>
#include <string>

#include "identity/core/install_kind.h"
#include "identity/core/product_version.h"
#include "engine/journal/uninstall_log.h"
#include "support/instance_mutex.h"
#include "support/run_log.h"

namespace va {

class InstallSession {
public:
    // The newest live session is Session().
    InstallSession();
    virtual ~InstallSession();
    InstallSession(const InstallSession&) = delete;
    InstallSession& operator=(const InstallSession&) = delete;

    // InstallKind; `versionText` receives FoundVersionText for Update and
    // NewerInstalled.
    std::int32_t GetInstallKind(std::wstring* versionText = nullptr) const;
    // Names (does not create) a new per-run folder in the temporary folder;
    // on failure `errorText` says which call failed with which code.
    bool MakeTemporaryFolder(std::wstring& errorText);
    bool AcquireInstanceMutex();
    void ReleaseInstanceMutex();

    // Takes the new application title; the application object also renames
    // itself.
    virtual void SetApplicationTitle(const std::wstring& title);

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
    // The run's text log ("/log"); writes nothing unless start-up opened it.
    RunLog TextLog;
};

// The one session of the process; raises std::logic_error while there is none.
InstallSession& Session();

}  // namespace va
