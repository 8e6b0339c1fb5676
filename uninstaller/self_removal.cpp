#include "uninstaller/self_removal.h"

#include <memory>

#include "identity/run_folder_name.h"
#include "support/administrators_only_folder.h"
#include "support/core/command_line.h"
#include "support/core/exit_codes.h"
#include "support/handles.h"
#include "support/program_path.h"
#include "uninstaller/core/path_rules.h"
#include "uninstaller/core/result_line.h"
#include "uninstaller/log_file.h"
#include "uninstaller/machine_areas.h"
#include "uninstaller/step_runner.h"

namespace va::uninstall {
namespace {

// The original's image may stay locked a moment after its process ended.
constexpr int kInUseTries = 25;
constexpr DWORD kInUsePauseMs = 200;
// However long the original takes to end, the copy does not wait forever.
constexpr DWORD kOriginalEndLimitMs = 5 * 60 * 1000;

std::wstring NewCopyFolder()
{
    wchar_t temp[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, temp);
    if (length == 0 || length > MAX_PATH)
        return {};
    std::wstring folder = temp;
    if (folder.back() != L'\\')
        folder.push_back(L'\\');
    return folder + NewRunFolderName();
}

void DiscardCopy(const std::wstring& copy, const std::wstring& folder)
{
    ::DeleteFileW(copy.c_str());
    ::RemoveDirectoryW(folder.c_str());
}

}  // namespace

bool StartFinishingCopy(const std::wstring& finishLog, const Options& options, RunLog& log, DWORD& error)
{
    const std::wstring folder = NewCopyFolder();
    // The temporary folder may be one other users can write into: the copy
    // runs elevated, so its folder is closed to them.
    if (folder.empty()) {
        error = ERROR_PATH_NOT_FOUND;
        return false;
    }
    if (!CreateAdministratorsOnlyFolder(folder, error))
        return false;
    const std::wstring copy = folder + L"\\Uninstall.exe";
    if (!::CopyFileW(ProgramPath().c_str(), copy.c_str(), TRUE)) {
        error = ::GetLastError();
        DiscardCopy(copy, folder);
        return false;
    }
    // The copy waits on this process through a handle it inherits: unlike
    // a process number, it cannot come to name another process.
    HANDLE self = nullptr;
    if (!::DuplicateHandle(::GetCurrentProcess(), ::GetCurrentProcess(), ::GetCurrentProcess(), &self, SYNCHRONIZE,
                           TRUE, 0)) {
        error = ::GetLastError();
        DiscardCopy(copy, folder);
        return false;
    }
    UniqueHandle inherited(self);
    std::wstring commandLine = QuoteArgument(copy) + L" " + QuoteArgument(L"/finish=" + finishLog) + L" /wait=" +
                               std::to_wstring(reinterpret_cast<std::uintptr_t>(self));
    if (options.quiet)
        commandLine += L" /quiet";
    if (!options.logFile.empty())
        commandLine += L" " + QuoteArgument(L"/log=" + options.logFile);
    log.Line(L"start copy: " + commandLine);

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, folder.c_str(),
                          &startup, &info)) {
        error = ::GetLastError();
        DiscardCopy(copy, folder);
        return false;
    }
    const ProcessHandles started(info);  // the copy runs on its own
    error = ERROR_SUCCESS;
    return true;
}

int RunFinishingCopy(const Options& options)
{
    if (options.waitHandle) {
        UniqueHandle original(reinterpret_cast<HANDLE>(*options.waitHandle));
        ::WaitForSingleObject(original.get(), kOriginalEndLimitMs);
    }
    RunLog log;
    DWORD logError = ERROR_SUCCESS;
    log.Open(options.logFile, true, logError);
    const std::wstring self = ProgramPath();
    const std::wstring selfFolder = ParentOf(self);
    ::SetCurrentDirectoryW(selfFolder.c_str());
    log.Line(L"copy: finishing with " + options.finishLog);

    int exitCode = exit_code::kSuccess;
    const CheckedLog checked = ReadUninstallLog(options.finishLog);
    if (checked.state != LogState::Readable) {
        log.Line(L"copy: the log is " + std::wstring(checked.state == LogState::Missing ? L"missing" : L"damaged") +
                 L": nothing removed");
        exitCode = checked.state == LogState::Missing ? exit_code::kNotInstalled : exit_code::kDamagedLog;
    } else {
        const ProductAreas areas = MachineProductAreas(checked.contents);
        StepHooks hooks;
        struct Tries {
            std::wstring file;
            int count = 0;
        };
        auto tries = std::make_shared<Tries>();
        hooks.retryInUse = [tries](const std::wstring& file) {
            if (file != tries->file)
                *tries = Tries{file, 0};
            if (++tries->count > kInUseTries)
                return false;
            ::Sleep(kInUsePauseMs);
            return true;
        };
        StepRunner runner(areas, {}, hooks);
        // What the original left to the restart empties folders then too.
        runner.Restart().LoadFromSystem();

        // The log goes first: it lies in the installation folder.
        UndoStep logStep{StepKind::DeleteFile, options.finishLog, {}, 0};
        std::vector<StepResult> results{runner.RemoveFile(logStep)};
        for (StepResult& r : runner.Run(PlanUndo(checked.contents.Entries, areas, {})))
            results.push_back(std::move(r));
        const std::wstring& installFolder = checked.contents.InstallPath;
        if (PathExists(installFolder) && areas.MayRemoveFolder(installFolder))
            results.push_back(runner.RemoveFolder(UndoStep{StepKind::RemoveFolder, installFolder, {}, 0}));
        for (const StepResult& r : results)
            log.Line(L"copy: " + ResultLine(r));
        exitCode = ExitCodeOf(Summarize(results));
    }

    // Nobody is left to delete this copy: the restart does.
    DWORD error = ERROR_SUCCESS;
    RestartDeletions own;
    own.Schedule(self, error);
    own.Schedule(selfFolder, error);
    log.Line(L"copy: exit code " + std::to_wstring(exitCode));
    return exitCode;
}

}  // namespace va::uninstall
