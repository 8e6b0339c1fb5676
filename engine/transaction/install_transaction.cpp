#include "engine/transaction/install_transaction.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <sstream>

#include "identity/core/product.h"
#include "languages/core/message_numbers.h"
#include "engine/journal/core/log_format.h"
#include "engine/package/package_stream.h"
#include "engine/placement/file_placement.h"
#include "engine/placement/install_folder_access.h"
#include "engine/placement/machine_extraction.h"
#include "engine/placement/read_only_marking.h"
#include "engine/placement/temporary_files.h"
#include "engine/placement/users_access.h"
#include "engine/session/install_session.h"
#include "engine/steps/directx_setup.h"
#include "engine/steps/program_path_value_state.h"
#include "engine/steps/registry_step.h"
#include "engine/steps/shortcuts.h"
#include "engine/transaction/core/error_code_text.h"
#include "engine/transaction/finished_run_rollback.h"
#include "engine/transaction/install_sink.h"
#include "engine/transaction/package_callback.h"
#include "engine/transaction/run_journal.h"
#include "engine/transaction/shutdown_block.h"
#include "support/fault_point.h"
#include "support/core/path_text.h"
#include "support/format_message.h"

namespace va {
namespace {

// The wait cursor for the whole run, whichever way it ends.
class WaitScope {
public:
    explicit WaitScope(InstallSink& sink) : sink_(sink) { sink_.BeginWait(); }
    ~WaitScope() { sink_.EndWait(); }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;

private:
    InstallSink& sink_;
};

// The files this run passes through its temporary folder; on every way out
// they and the folder are removed.
class TemporaryFilesOfRun {
public:
    explicit TemporaryFilesOfRun(const std::wstring& folder) { list_.folder = folder; }
    ~TemporaryFilesOfRun() { CleanUpTemporaryFiles(list_); }
    TemporaryFilesOfRun(const TemporaryFilesOfRun&) = delete;
    TemporaryFilesOfRun& operator=(const TemporaryFilesOfRun&) = delete;

    TemporaryFiles& list() { return list_; }

private:
    TemporaryFiles list_;
};

void ShowFailure(InstallSink& sink, const MessageTexts& texts, const std::wstring& code)
{
    sink.ShowStatus(FormatInserts(texts.Message(kMessageInstallFailed), {code}));
}

// Through a checked handle (the installation folder may be one that users
// can change); a refusal is named in the run log and the run goes on.
void MarkReadOnly(InstallSession& session, const std::wstring& path)
{
    if (path.empty())
        return;
    const DWORD error = MarkReadOnlyWithoutLinks(ParentFolderKeepingRoot(session.InstallFolder), path);
    if (error == ERROR_CANT_ACCESS_FILE || error == ERROR_TOO_MANY_LINKS)
        session.TextLog.Line(L"not marked read-only, a link or a second name: " + path);
}

// ERROR_SUCCESS, or the Windows error of a log that is not in place.
DWORD WriteLogStep(InstallSession& session, InstallSink& sink, const MessageTexts& texts,
                   const ProductPaths& paths)
{
    const std::wstring status = texts.Message(kMessageInstallationData);
    sink.ShowStatus(status);
    sink.AppendProgressText(status);
    const std::wstring logPath = LogBeside(paths.uninstaller);
    DWORD error = ERROR_SUCCESS;
    if (logPath.empty())
        error = ERROR_FILENAME_EXCED_RANGE;
    else if (!session.PreviousLog.WriteLog(logPath, session.InstallFolder, session.StartMenuFolder))
        error = ::GetLastError() != ERROR_SUCCESS ? ::GetLastError() : DWORD{ERROR_WRITE_FAULT};
    AppendStepResult(sink, texts, error == ERROR_SUCCESS);
    return error;
}

// Steps 4 to 11, the files that only pass through listed in
// `temporaryFiles`; false when the journal has been rolled back.
bool PlaceProduct(InstallSession& session, InstallSink& sink, const MessageTexts& texts, std::uint32_t languageIndex,
                  TemporaryFiles& temporaryFiles, ProductPaths& paths)
{
    UninstallLog& log = session.PreviousLog;
    const std::wstring samplesFolder =
        FormatInserts(texts.Message(kMessageSamplesFolder), {ProductDisplayName(false)});

    sink.SetProgressPosition(0);
    sink.ShowProgressBar();

    // A missing or empty package resource reads as an empty package: the
    // check passes and the reader then finds nothing to install.
    std::unique_ptr<std::istream> stream = open_resource_stream(kPackageResourceType, kPackageResourceId);
    if (!stream)
        stream = std::make_unique<std::istringstream>(std::string());

    // A folder the installation makes has its own access list before
    // anything is placed in it.
    if (const DWORD error = CreateProtectedInstallFolder(log, session.InstallFolder); error != ERROR_SUCCESS) {
        const std::error_code code(static_cast<int>(error), std::system_category());
        sink.ShowStatus(FormatInserts(texts.Message(kMessageInstallFailed), {ErrorCodeText(code)}));
        log.Rollback();
        return false;
    }

    UninstallLogJournal journal(log);
    PlacementContext placement;
    placement.installKind = session.InstallKind;
    placement.journal = &journal;
    placement.showCopiedFile = [&sink](const std::wstring& text) { sink.ShowCopiedFile(text); };
    placement.message = [&texts](int number) { return texts.Message(number); };
    placement.appendProgress = [&sink](const std::wstring& text) { sink.AppendProgressText(text); };
    placement.mainProgramPath = &paths.mainProgram;
    placement.uninstallerPath = &paths.uninstaller;
    placement.temporaryFiles = &temporaryFiles;
    placement.grant = GrantUsersAccess;
    placement.grantRefused = [&session](const std::wstring& path, DWORD) {
        session.TextLog.Line(L"rights not given through a link or a second name: " + path);
    };

    PackageCallback callback(sink, texts, *stream, log, placement);
    if (!extract_package(*stream, session.InstallFolder, samplesFolder, session.TemporaryFolder,
                         [&callback](const notification& message) { return callback(message); },
                         sink.OwnerWindow())) {
        placement.pinned.Release();
        // The status already tells the code (the error notification).
        log.Rollback();
        return false;
    }
    placement.pinned.Release();

    MarkReadOnly(session, paths.mainProgram);
    MarkReadOnly(session, paths.uninstaller);

    if (session.CreateStartMenuShortcut || session.CreateDesktopShortcut) {
        const ShortcutChoices choices{session.CreateStartMenuShortcut, session.CreateDesktopShortcut,
                                      session.StartMenuFolder};
        CreateShortcuts(log, choices, paths, texts, sink, sink.OwnerWindow());
    }

    RunDirectXStep(log, session.TemporaryFolder, session.InstallKind == Reinstall, texts, sink,
                   sink.OwnerWindow());

    RegistryStepFacts facts;
    facts.paths = paths;
    facts.languageIndex = languageIndex;
    facts.foundVersion = session.InstallKind == Update ? session.FoundVersion : 0;
    const ProgramPathValueState pathValueBefore = CaptureProgramPathValue();
    AnnounceProgramPathValue(log, pathValueBefore);
    if (RunRegistryStep(log, facts, session.InstanceMutex, texts, sink) == RegistryStepResult::PathValueFailed) {
        log.Rollback();
        AppendStepResult(sink, texts, false);
        ShowFailure(sink, texts, kPathValueErrorText);
        return false;
    }

    // Without its log the installation could not be removed: it is undone.
    if (const DWORD error = WriteLogStep(session, sink, texts, paths); error != ERROR_SUCCESS) {
        RollBackFinishedRun(log, paths, pathValueBefore, session.InstanceMutex);
        ShowFailure(sink, texts, ErrorCodeText(std::error_code(static_cast<int>(error), std::system_category())));
        return false;
    }
    sink.ShowStatus(FormatInserts(texts.Message(kMessageClickToContinue), {texts.Message(kMessageNext)}));
    return true;
}

}  // namespace

bool RunInstallTransaction(InstallSession& session, InstallSink& sink, const MessageTexts& texts,
                           std::uint32_t languageIndex, ProductPaths& paths)
{
    paths.mainProgram.clear();
    paths.uninstaller.clear();
    sink.AppendProgressText(L"", true);
    WaitScope wait(sink);
    const ShutdownBlock shutdownBlock(sink.OwnerWindow(), ProductDisplayName(true));
    sink.ShowStatus(texts.Message(kMessagePreparing));

    std::wstring errorText;
    if (!session.MakeTemporaryFolder(errorText)) {
        // Nothing exists yet: the folder is made with its first file.
        const std::wstring status = FormatInserts(texts.Message(kMessageInstallFailed), {errorText});
        sink.ShowStatus(status);
        sink.AppendProgressText(status + L"\r\n");
        return false;
    }

    TemporaryFilesOfRun temporaryFiles(session.TemporaryFolder);
    RunJournal journal(session.PreviousLog);
    if (const DWORD error = journal.Begin(); error != ERROR_SUCCESS) {
        const std::wstring status = FormatInserts(
            texts.Message(kMessageInstallFailed),
            {ErrorCodeText(std::error_code(static_cast<int>(error), std::system_category()))});
        sink.ShowStatus(status);
        sink.AppendProgressText(status + L"\r\n");
        return false;
    }
    return PlaceProduct(session, sink, texts, languageIndex, temporaryFiles.list(), paths);
}

}  // namespace va
