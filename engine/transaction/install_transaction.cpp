#include "engine/transaction/install_transaction.h"

#include <windows.h>
#include <shlwapi.h>

#include <memory>
#include <sstream>

#include "identity/core/product.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "engine/journal/core/log_format.h"
#include "engine/package/package_stream.h"
#include "engine/placement/file_placement.h"
#include "engine/placement/install_folder_access.h"
#include "engine/placement/machine_extraction.h"
#include "engine/placement/temporary_files.h"
#include "engine/placement/users_access.h"
#include "engine/session/install_session.h"
#include "engine/steps/directx_setup.h"
#include "engine/steps/registry_step.h"
#include "engine/steps/shortcuts.h"
#include "engine/transaction/core/error_code_text.h"
#include "engine/transaction/core/transaction_messages.h"
#include "engine/transaction/install_sink.h"
#include "engine/transaction/package_callback.h"
#include "support/fault_point.h"
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

// The temporary-files list published for the file placement while the
// package is extracted; on every way out its files and the temporary folder
// are removed and the list unpublished.
class PublishedList {
public:
    explicit PublishedList(const std::wstring& folder) { list_.folder = folder; PublishTemporaryFiles(&list_); }
    ~PublishedList() { CleanUpTemporaryFiles(); }
    PublishedList(const PublishedList&) = delete;
    PublishedList& operator=(const PublishedList&) = delete;

private:
    TemporaryFiles list_;
};

void ShowFailure(InstallSink& sink, const MessageTexts& texts, const std::wstring& code)
{
    sink.ShowStatus(FormatInserts(texts.Message(kMessageInstallFailed), {code}));
}

void MarkReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && FaultPoint("set attributes", ERROR_ACCESS_DENIED) == ERROR_SUCCESS)
        ::SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY);
}

// "Uninstall.ulog" beside the uninstaller, within MAX_PATH characters.
bool LogPath(const std::wstring& uninstaller, std::wstring& path)
{
    wchar_t buffer[MAX_PATH] = {};
    ::lstrcpynW(buffer, uninstaller.c_str(), MAX_PATH);
    if (!::PathRemoveFileSpecW(buffer) || !::PathAppendW(buffer, kLogFileName))
        return false;
    path = buffer;
    return true;
}

bool WriteLogStep(InstallSession& session, InstallSink& sink, const MessageTexts& texts,
                  const ProductPaths& paths)
{
    const std::wstring status = texts.Message(kMessageInstallationData);
    sink.ShowStatus(status);
    sink.AppendProgressText(status);
    std::wstring logPath;
    const bool written = LogPath(paths.uninstaller, logPath) &&
                         session.PreviousLog.WriteLog(logPath, session.InstallFolder, session.StartMenuFolder);
    AppendStepResult(sink, texts, written);
    return written;
}

// Steps 4 to 11, with the temporary-files list published; false when the
// journal has been rolled back.
bool PlaceProduct(InstallSession& session, InstallSink& sink, const MessageTexts& texts, ProductPaths& paths)
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
    placement.page = sink.StatusDialog();
    placement.message = [&texts](int number) { return texts.Message(number); };
    placement.appendProgress = [&sink](const std::wstring& text) { sink.AppendProgressText(text); };
    placement.mainProgramPath = &paths.mainProgram;
    placement.uninstallerPath = &paths.uninstaller;
    placement.grant = GrantUsersAccess;

    PackageCallback callback(sink, texts, *stream, log, placement);
    if (!extract_package(*stream, session.InstallFolder, samplesFolder, session.TemporaryFolder,
                         [&callback](const notification& message) { return callback(message); },
                         sink.OwnerWindow())) {
        // The status already tells the code (the error notification).
        log.Rollback();
        return false;
    }

    MarkReadOnly(paths.mainProgram);
    MarkReadOnly(paths.uninstaller);

    if (session.CreateStartMenuShortcut || session.CreateDesktopShortcut) {
        const ShortcutChoices choices{session.CreateStartMenuShortcut, session.CreateDesktopShortcut,
                                      session.StartMenuFolder};
        CreateShortcuts(log, choices, paths, texts, sink, sink.OwnerWindow());
    }

    RunDirectXStep(log, session.TemporaryFolder, session.InstallKind == Reinstall, texts, sink,
                   sink.OwnerWindow());

    RegistryStepFacts facts;
    facts.paths = paths;
    facts.languageIndex = static_cast<std::uint32_t>(CurrentLanguage().Index);
    facts.foundVersion = session.InstallKind == Update ? session.FoundVersion : 0;
    if (RunRegistryStep(log, facts, session.InstanceMutex, texts, sink) == RegistryStepResult::PathValueFailed) {
        log.Rollback();
        AppendStepResult(sink, texts, false);
        ShowFailure(sink, texts, kPathValueErrorText);
        return false;
    }

    WriteLogStep(session, sink, texts, paths);
    sink.ShowStatus(FormatInserts(texts.Message(kMessageClickToContinue), {texts.Message(kMessageNext)}));
    return true;
}

}  // namespace

bool RunInstallTransaction(InstallSession& session, InstallSink& sink, const MessageTexts& texts,
                           ProductPaths& paths)
{
    paths.mainProgram.clear();
    paths.uninstaller.clear();
    sink.AppendProgressText(L"", true);
    WaitScope wait(sink);
    sink.ShowStatus(texts.Message(kMessagePreparing));

    std::wstring errorText;
    if (!session.MakeTemporaryFolder(errorText)) {
        // Nothing exists yet: the folder is made with its first file.
        const std::wstring status = FormatInserts(texts.Message(kMessageInstallFailed), {errorText});
        sink.ShowStatus(status);
        sink.AppendProgressText(status + L"\r\n");
        return false;
    }

    PublishedList temporaryFiles(session.TemporaryFolder);
    return PlaceProduct(session, sink, texts, paths);
}

}  // namespace va
