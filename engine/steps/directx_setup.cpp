#include "engine/steps/directx_setup.h"

#include "languages/core/message_numbers.h"
#include "engine/journal/uninstall_log.h"
#include "engine/package/held_files.h"
#include "engine/steps/install_progress.h"
#include "support/message_pump.h"
#include "support/dll_search_order.h"
#include "support/fault_point.h"

namespace va {
namespace {

// The library's exports, all with the standard call convention.
using SetupCallback = DWORD(WINAPI*)(DWORD, DWORD, char*, char*, void*);
using GetVersionFunction = int(WINAPI*)(DWORD* version, DWORD* revision);
using SetCallbackFunction = int(WINAPI*)(SetupCallback callback);
using SetupFunction = int(WINAPI*)(HWND owner, LPWSTR sourcePath, DWORD flags);

static_assert(sizeof(char*) == 4 && sizeof(void*) == 4, "the callback takes five 32-bit arguments");

template <class Function>
Function Export(HMODULE module, const char* name)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

bool IsUsable(HMODULE module)
{
    const auto getVersion = Export<GetVersionFunction>(module, "DirectXSetupGetVersion");
    if (!getVersion)
        return false;
    DWORD version = 0;
    DWORD revision = 0;
    return getVersion(&version, &revision) != 0 && version >= kDirectXMinimumVersion &&
           revision >= kDirectXMinimumRevision;
}

}  // namespace

DirectXSetup LoadDirectXSetup(const std::wstring& folder)
{
    DirectXSetup setup;
    setup.folder = folder;
    // A bare library name would be looked for along the search path.
    if (folder.empty())
        return setup;
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/')
        path += L'\\';
    path += kDirectXSetupLibrary;

    // The placement checked the library and holds it so that nobody can
    // change, rename or delete it: it is loaded as checked.
    const UniqueFile held = TakeHeldFile(path);
    setup.module.reset(LoadLibraryFromFolder(path));
    if (setup.module && !IsUsable(setup.module.get()))
        setup.module.reset();
    return setup;
}

bool RunDirectXSetup(const DirectXSetup& setup, HWND owner)
{
    if (!setup.module)
        return false;
    const auto setCallback = Export<SetCallbackFunction>(setup.module.get(), "DirectXSetupSetCallback");
    const auto run = Export<SetupFunction>(setup.module.get(), "DirectXSetupW");
    if (!setCallback || !run)
        return false;
    if (FaultPoint("run DirectX set-up", ERROR_ACCESS_DENIED) != ERROR_SUCCESS)
        return false;
    setCallback(DirectXSetupCallback);
    std::wstring source = setup.folder;
    const int result = run(owner, source.data(), kDirectXSetupFlags);
    return result == 0 || result == 1;
}

DWORD WINAPI DirectXSetupCallback(DWORD reason, DWORD, char*, char*, void*)
{
    if (reason == kDirectXProgressReason)
        PumpMessages();
    return 1;
}

bool RunDirectXStep(UninstallLog& log, const std::wstring& temporaryFolder, bool reinstall,
                    const MessageTexts& texts, InstallProgress& progress, HWND owner)
{
    const DirectXSetup setup = LoadDirectXSetup(temporaryFolder);
    if (!setup.module)
        return true;
    if (!reinstall && log.PreviousDirectXDone())
        return true;

    log.RecordDirectX();
    const std::wstring status = texts.Message(kMessageDirectXStep);
    progress.ShowStatus(status);
    progress.AppendProgressText(status);
    const bool succeeded = RunDirectXSetup(setup, owner);
    log.CommitOutcome(succeeded ? 1 : 0, &status);
    AppendStepResult(progress, texts, succeeded);
    return succeeded;
}

}  // namespace va
