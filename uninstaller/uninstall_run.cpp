#include "uninstaller/uninstall_run.h"

#include <windows.h>

#include <string>
#include <vector>

#include "engine/journal/core/log_format.h"
#include "identity/core/folder_token_table.h"
#include "support/core/command_line.h"
#include "support/core/exit_codes.h"
#include "support/error_text.h"
#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "support/log_file_open.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "support/program_path.h"
#include "support/run_log.h"
#include "support/startup.h"
#include "support/system_checks.h"
#include "uninstaller/core/final_report.h"
#include "uninstaller/core/messages.h"
#include "uninstaller/core/path_rules.h"
#include "uninstaller/core/result_line.h"
#include "uninstaller/core/uninstall_switches.h"
#include "uninstaller/file_types.h"
#include "uninstaller/interrupted_runs.h"
#include "uninstaller/log_access.h"
#include "uninstaller/log_file.h"
#include "uninstaller/machine_areas.h"
#include "uninstaller/product_keys.h"
#include "uninstaller/progress_window.h"
#include "uninstaller/self_removal.h"
#include "uninstaller/step_runner.h"
#include "uninstaller/uninstall_texts.h"

namespace va::uninstall {
namespace {

class Uninstallation {
public:
    explicit Uninstallation(Options options) : options_(std::move(options)) {}

    int Run();

private:
    int Refuse(int exitCode, const std::wstring& text);
    bool Ask(const std::wstring& text, UINT type, int yes);
    bool WaitForProductToClose();
    void RequireAdministratorsOnly(CheckedLog& checked, const std::wstring& logPath);
    int Undo(const CheckedLog& checked, const std::wstring& logPath);
    int Finish(std::vector<StepResult>& results, const CheckedLog& checked, const std::wstring& logPath,
               StepRunner& runner);
    void Report(const std::vector<StepResult>& results, int exitCode);

    Options options_;
    RunLog log_;
    InstanceMutex mutex_;
    ProgressWindow progress_;
};

int Uninstallation::Refuse(int exitCode, const std::wstring& text)
{
    log_.Line(text);
    log_.Line(L"exit code " + std::to_wstring(exitCode));
    if (!options_.quiet)
        ShowMessage(text, MB_OK | MB_ICONEXCLAMATION);
    return exitCode;
}

bool Uninstallation::Ask(const std::wstring& text, UINT type, int yes)
{
    const bool answer = ShowMessage(text, type) == yes;
    log_.Line(text + (answer ? L" -> yes" : L" -> no"));
    return answer;
}

bool Uninstallation::WaitForProductToClose()
{
    while (CountInstances() > 1) {
        const std::wstring text = Text(message::kCloseProduct, {ProductText()});
        if (options_.quiet) {
            log_.Line(text);
            return false;
        }
        if (!Ask(text, MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY))
            return false;
    }
    return true;
}

// A log that a standard user can change is no more trusted than one the
// user wrote: damaged, with who may change it in the run log.
void Uninstallation::RequireAdministratorsOnly(CheckedLog& checked, const std::wstring& logPath)
{
    if (checked.state != LogState::Readable)
        return;
    LogAccess access;
    std::wstring writer;
    if (!ReadLogAccess(logPath, access))
        writer = L"(unknown: its access list cannot be read)";
    else
        writer = UntrustedLogWriter(access, RunningAccountSid());
    if (writer.empty())
        return;
    log_.Line(L"the log can be changed by " + writer + L", not by administrators only: refused as damaged");
    checked.state = LogState::Damaged;
    checked.line = 0;
}

int Uninstallation::Run()
{
    DWORD error = ERROR_SUCCESS;
    if (!log_.Open(options_.logFile, false, error))
        return Refuse(exit_code::kBadCommandLine,
                      Text(message::kLogFileFailed, {options_.logFile, ErrorText(error)}));
    log_.Line(L"uninstaller " + ProgramPath() + L": " + ::GetCommandLineW());

    bool administrator = false;
    try {
        administrator = IsAdministrator();
    } catch (...) {
        // A query that fails cannot prove the rights: the check refuses.
    }
    if (!administrator)
        return Refuse(exit_code::kNoAdministrator, Text(message::kNoRights, {ProductText()}));

    mutex_.Create(InstanceMutexName(ApplicationId()), false);
    if (!mutex_.Acquire())
        return Refuse(exit_code::kAnotherInstaller, Text(message::kInstallerRunning, {ProductText()}));
    const RecoveryReport recovery = RecoverInterruptedRuns(mutex_, log_);
    if (recovery.Outcome == RecoveryOutcome::Refused)
        return Refuse(exit_code::kFailed, Text(message::kInterruptedRunNotUndone,
                                               {ProductText(), recovery.Path, ErrorText(recovery.Error)}));
    if (recovery.UndoneRuns > 0) {
        const std::wstring text = Text(message::kInterruptedRunUndone, {ProductText()});
        log_.Line(text);
        if (!options_.quiet)
            ShowMessage(text, MB_OK | MB_ICONINFORMATION);
    }
    if (!WaitForProductToClose()) {
        log_.Line(L"exit code " + std::to_wstring(exit_code::kProductRunning));
        return exit_code::kProductRunning;
    }

    const std::wstring logPath = LogBeside(ProgramPath());
    CheckedLog checked = ReadUninstallLog(logPath);
    RequireOwnFolder(checked, ParentOf(ProgramPath()));
    RequireStartMenuFolder(checked, {SpecialFolder(csidl::common_start_menu), SpecialFolder(csidl::start_menu)});
    RequireAdministratorsOnly(checked, logPath);
    if (checked.state == LogState::Missing)
        return Refuse(exit_code::kNotInstalled, Text(message::kLogMissing, {ProductText(), logPath}));
    if (checked.state == LogState::Damaged)
        return Refuse(exit_code::kDamagedLog,
                      Text(message::kLogDamaged, {ProductText(), logPath, std::to_wstring(checked.line)}));
    log_.Line(L"log " + logPath + L": " + std::to_wstring(checked.contents.Entries.size()) + L" entries, installed in " +
              checked.contents.InstallPath);

    if (!options_.quiet &&
        !Ask(Text(message::kConfirm, {ProductText()}), MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES)) {
        log_.Line(L"exit code " + std::to_wstring(exit_code::kCancelled));
        return exit_code::kCancelled;
    }
    return Undo(checked, logPath);
}

int Uninstallation::Undo(const CheckedLog& checked, const std::wstring& logPath)
{
    const ProductAreas areas = MachineProductAreas(checked.contents);
    PlanChoices choices;
    choices.ownProgram = ProgramPath();
    choices.removeDataFiles = options_.purge;
    if (!options_.quiet && !options_.purge) {
        std::wstring files;
        for (const std::wstring& file : DataFilesOf(checked.contents.Entries, areas))
            if (PathExists(file))
                files += (files.empty() ? L"" : L"\r\n") + file;
        if (!files.empty())
            choices.removeDataFiles = Ask(Text(message::kAskDataFiles, {ProductText(), files}),
                                          MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2, IDYES);
    }
    const std::vector<UndoStep> plan = PlanUndo(checked.contents.Entries, areas, choices);

    if (!options_.quiet)
        progress_.Open(Title(), Text(message::kRemoving, {ProductText()}));
    // Boxes from here on belong to the progress window.
    SetOwnerHook([this] { return OwnerWindows{progress_.GetSafeHwnd(), nullptr}; });

    StepHooks hooks;
    hooks.progress = [this](const UndoStep& step, std::size_t number, std::size_t count) {
        std::wstring item = step.path;
        if (step.kind == StepKind::UnregisterFileTypes)
            item = Text(message::kUnregistering);
        else if (step.kind == StepKind::RemoveProductKeys)
            item = Text(message::kRemovingKeys);
        progress_.Step(item, number, count);
    };
    hooks.retryInUse = [this](const std::wstring& file) {
        if (options_.quiet)
            return false;
        return Ask(Text(message::kFileInUse, {file}), MB_RETRYCANCEL | MB_ICONEXCLAMATION, IDRETRY);
    };
    hooks.unregisterFileTypes = [this](const std::wstring& program) { return RunUnregistration(program, mutex_); };
    hooks.removeProductKeys = [] { return RemoveProductKeys(); };

    StepRunner runner(areas, ParentOf(ProgramPath()), hooks);
    std::vector<StepResult> results = runner.Run(plan);
    const int exitCode = Finish(results, checked, logPath, runner);
    progress_.Close();
    SetOwnerHook({});
    Report(results, exitCode);
    return exitCode;
}

// What is left after the steps: either a log for a second run (something
// failed) or the uninstaller itself, its log and folders, which its copy
// removes once this process has ended.
int Uninstallation::Finish(std::vector<StepResult>& results, const CheckedLog& checked, const std::wstring& logPath,
                           StepRunner& runner)
{
    const LogContents& contents = checked.contents;
    const std::vector<LogEntry> left = EntriesLeft(results);
    const bool failed = Summarize(results).failed > 0;
    if (!WriteUninstallLog(logPath, *contents.PreviousProduct, contents.InstallPath, contents.ShortcutPath, left))
        log_.Line(L"the log could not be written again: " + logPath);
    if (failed)
        return ExitCodeOf(Summarize(results));

    // The copy appends to the text log once this process has ended.
    DWORD error = ERROR_SUCCESS;
    if (!StartFinishingCopy(logPath, options_, log_, error)) {
        // No copy to finish the job: the restart does it.
        log_.Line(L"the copy could not be started (error " + std::to_wstring(error) + L")");
        std::vector<std::wstring> paths{ProgramPath(), logPath};
        for (const StepResult& r : results)
            if (r.outcome == Outcome::Deferred && r.step.kind == StepKind::RemoveFolder)
                paths.push_back(r.step.path);
        paths.push_back(contents.InstallPath);
        for (StepResult& r : results)
            if (r.outcome == Outcome::Deferred)
                r.outcome = Outcome::Scheduled;
        for (const std::wstring& path : paths) {
            DWORD scheduleError = ERROR_SUCCESS;
            if (PathExists(path) && !runner.Restart().Schedule(path, scheduleError))
                log_.Line(L"not scheduled: " + path + L" (error " + std::to_wstring(scheduleError) + L")");
        }
    }
    return ExitCodeOf(Summarize(results));
}

void Uninstallation::Report(const std::vector<StepResult>& results, int exitCode)
{
    for (const StepResult& r : results)
        log_.Line(ResultLine(r));
    log_.Line(SummaryLine(Summarize(results)));
    const FinalReport report = ComposeFinalReport(
        results, ProductText(), [](unsigned n, const std::vector<std::wstring>& inserts) { return Text(n, inserts); },
        [](std::uint32_t error) { return ErrorText(error); });
    log_.Line(report.text);
    log_.Line(L"exit code " + std::to_wstring(exitCode));
    if (!options_.quiet)
        ShowMessage(report.text, MB_OK | (report.complete ? MB_ICONINFORMATION : MB_ICONEXCLAMATION));
}

}  // namespace

int RunUninstaller()
{
    const std::vector<std::wstring> arguments = SplitArguments(ArgumentsAfterProgram(::GetCommandLineW()));
    ParsedOptions parsed = ParseUninstallerArguments(arguments);
    const bool quiet = parsed.parsed.Valid() ? parsed.options.quiet : NamesSwitch(arguments, {L"quiet"});
    // Quiet means no box at all, whatever asks for one.
    if (quiet)
        SetQuietHook([] { return true; });

    ChooseInterfaceLanguage();
    SetCaptionHook([] { return Title(); });

    // A relative "/log" names a file in the folder the uninstaller started
    // in: made full before this process changes folder (and for the copy,
    // which starts in another).
    parsed.options.logFile = AbsoluteLogPath(parsed.options.logFile);
    // Folders of the product must not be held by this process's current
    // folder while they are removed.
    wchar_t temp[MAX_PATH + 1] = {};
    if (::GetTempPathW(MAX_PATH + 1, temp))
        ::SetCurrentDirectoryW(temp);

    if (!parsed.parsed.Valid()) {
        if (!quiet)
            ShowMessage(Text(message::kBadSwitch, {parsed.parsed.offending}) + L"\r\n\r\n" + Text(message::kUsage),
                        MB_OK | MB_ICONEXCLAMATION);
        return exit_code::kBadCommandLine;
    }
    if (parsed.options.help) {
        if (!quiet)
            ShowMessage(Text(message::kUsage), MB_OK | MB_ICONINFORMATION);
        return exit_code::kSuccess;
    }
    if (!parsed.options.finishLog.empty())
        return RunFinishingCopy(parsed.options);
    return Uninstallation(std::move(parsed.options)).Run();
}

}  // namespace va::uninstall
