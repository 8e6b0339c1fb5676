#include "engine/steps/shortcuts.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "identity/core/product.h"
#include "languages/core/message_numbers.h"
#include "engine/journal/uninstall_log.h"
#include "engine/steps/install_progress.h"
#include "engine/steps/registry_entries.h"
#include "support/com_initialization.h"
#include "support/com_ptr.h"
#include "support/fault_point.h"
#include "support/format_message.h"

namespace va {
namespace {

enum ShortcutKind : int { kProgramShortcut = 0, kUninstallShortcut = 1, kDesktopShortcut = 2 };

HRESULT SystemCreateLink(IShellLinkW** link)
{
    return ::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link));
}

// A copy in a MAX_PATH buffer; false when it would not fit whole.
bool CopyToPathBuffer(const std::wstring& text, wchar_t (&buffer)[MAX_PATH])
{
    if (text.size() >= MAX_PATH)
        return false;
    ::lstrcpynW(buffer, text.c_str(), MAX_PATH);
    return true;
}

HRESULT SaveLink(const ShortcutComCalls& com, const std::wstring& target, const wchar_t* workingFolder,
                 const wchar_t* linkPath)
{
    ComPtr<IShellLinkW> link;
    HRESULT result = com.createLink(link.put());
    if (FAILED(result))
        return result;
    // A link saved without its target or folder would start nothing.
    result = link->SetPath(target.c_str());
    if (FAILED(result))
        return result;
    result = link->SetWorkingDirectory(workingFolder);
    if (FAILED(result))
        return result;
    ComPtr<IPersistFile> file;
    result = link.As(IID_IPersistFile, file);
    if (SUCCEEDED(result)) {
        if (const DWORD fault = FaultPoint("save shortcut", ERROR_ACCESS_DENIED); fault != ERROR_SUCCESS)
            return HRESULT_FROM_WIN32(fault);
        result = file->Save(linkPath, TRUE);
    }
    return result;
}

void CommitShortcut(UninstallLog& log, HRESULT created, const std::wstring& linkPath, bool& stepResult)
{
    if (SUCCEEDED(created)) {
        log.CommitOutcome(1, &linkPath);
    } else {
        stepResult = false;
        log.CommitOutcome(0);
    }
}

// Where the link named `name` in `folder` is saved (CreateShortcut, and the
// journal naming it before it is made); empty without a folder or when the
// path is too long.
std::wstring LinkPathFor(const std::wstring& folder, const std::wstring& name)
{
    wchar_t path[MAX_PATH] = {};
    wchar_t linkName[MAX_PATH] = {};
    if (folder.empty() || !CopyToPathBuffer(folder, path) || !CopyToPathBuffer(name, linkName) ||
        !::PathAppendW(path, linkName) || ::lstrlenW(path) + 4 >= MAX_PATH)
        return {};
    return std::wstring(path) + L".lnk";
}

// Empty when neither desktop can be found.
std::wstring DesktopFolder(HWND owner, SpecialFolderLookup lookup)
{
    wchar_t folder[MAX_PATH] = {};
    if (lookup(owner, folder, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE))
        return folder;
    folder[0] = L'\0';
    if (lookup(owner, folder, CSIDL_DESKTOPDIRECTORY, FALSE))
        return folder;
    return {};
}

}  // namespace

const ShortcutComCalls& SystemShortcutComCalls()
{
    static const ShortcutComCalls calls{ComInitialization::SystemInitialize, SystemCreateLink,
                                        ComInitialization::SystemUninitialize};
    return calls;
}

HRESULT CreateShortcut(const std::wstring& target, const std::wstring& folder, const std::wstring* name,
                       std::wstring* linkPath, const ShortcutComCalls& com)
{
    constexpr HRESULT kTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    wchar_t workingFolder[MAX_PATH] = {};
    if (!CopyToPathBuffer(target, workingFolder))
        return kTooLong;
    // A bare file name loses everything here: it has no folder to work in.
    if (!::PathRemoveFileSpecW(workingFolder) || workingFolder[0] == L'\0')
        return E_INVALIDARG;

    wchar_t linkName[MAX_PATH] = {};
    if (name) {
        if (!CopyToPathBuffer(*name, linkName))
            return kTooLong;
    } else {
        ::lstrcpynW(linkName, ::PathFindFileNameW(target.c_str()), MAX_PATH);
        ::PathRemoveExtensionW(linkName);
    }

    // Without a folder the link would land in whatever the current folder is.
    if (folder.empty())
        return E_INVALIDARG;
    const std::wstring path = LinkPathFor(folder, linkName);
    if (path.empty())
        return kTooLong;

    HRESULT result = S_OK;
    {
        const ComInitialization initialized(com.initialize, com.uninitialize);
        if (!initialized.Succeeded())
            return FAILED(initialized.Result()) ? initialized.Result() : E_UNEXPECTED;
        result = SaveLink(com, target, workingFolder, path.c_str());
    }

    if (FAILED(result))
        return result;
    if (linkPath)
        *linkPath = path;
    return result;
}

bool CreateShortcuts(UninstallLog& log, const ShortcutChoices& choices, const ProductPaths& paths,
                     const MessageTexts& texts, InstallProgress& progress, HWND owner,
                     SpecialFolderLookup lookup)
{
    if (!choices.startMenu && !choices.desktop)
        return true;

    const std::wstring status = texts.Message(kMessageShortcutsStep);
    progress.ShowStatus(status);
    progress.AppendProgressText(status);
    bool stepResult = true;
    const std::wstring programName = ProductDisplayName(true);

    if (choices.startMenu) {
        std::wstring linkPath;
        log.RecordShortcut(kProgramShortcut, choices.startMenuFolder,
                           LinkPathFor(choices.startMenuFolder, programName));
        HRESULT created = CreateShortcut(paths.mainProgram, choices.startMenuFolder, &programName, &linkPath);
        CommitShortcut(log, created, linkPath, stepResult);

        const std::wstring uninstallName =
            FormatInserts(texts.Message(kMessageUninstallShortcut), {ProductDisplayName(false)});
        linkPath.clear();
        log.RecordShortcut(kUninstallShortcut, choices.startMenuFolder,
                           LinkPathFor(choices.startMenuFolder, uninstallName));
        created = CreateShortcut(paths.uninstaller, choices.startMenuFolder, &uninstallName, &linkPath);
        CommitShortcut(log, created, linkPath, stepResult);
    }

    if (choices.desktop) {
        const std::wstring desktop = DesktopFolder(owner, lookup);
        std::wstring linkPath;
        log.RecordShortcut(kDesktopShortcut, desktop, LinkPathFor(desktop, programName));
        const HRESULT created = CreateShortcut(paths.mainProgram, desktop, &programName, &linkPath);
        CommitShortcut(log, created, linkPath, stepResult);
    }

    AppendStepResult(progress, texts, stepResult);
    return stepResult;
}

}  // namespace va
