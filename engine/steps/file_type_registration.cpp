#include "engine/steps/file_type_registration.h"

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <locale>

#include <boost/format.hpp>

#include "engine/journal/uninstall_log.h"
#include "support/message_pump.h"
#include "support/core/path_text.h"
#include "support/fault_point.h"
#include "support/handles.h"
#include "support/instance_mutex.h"

namespace va {
namespace {

// Another installer may have taken the shared mutex while the program ran:
// waited for as long as it holds it, the window repainting meanwhile.
bool TakeBack(InstanceMutex& mutex)
{
    const DWORD wait = WaitPumpingMessages(mutex.handle());
    if (wait != WAIT_OBJECT_0 && wait != WAIT_ABANDONED)
        return false;
    mutex.MarkOwned();
    return true;
}

struct ProgramRun {
    bool started = false;
    DWORD exitCode = 0;  // 0 when it could not be read
    bool owned = false;  // the mutex taken back
};

// Runs the installed program in `folder` with `mutex` released meanwhile,
// since it takes the shared mutex while it works; the mutex is taken back
// whether it started or not.  `faultPoint`, when given, may refuse the start.
ProgramRun RunWithMutexReleased(std::wstring commandLine, const std::wstring& folder, DWORD priority,
                                const char* faultPoint, InstanceMutex& mutex)
{
    static_assert(sizeof(STARTUPINFOW) == 68, "the 32-bit STARTUPINFO");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNOACTIVATE;

    ProgramRun run;
    mutex.Release();
    PROCESS_INFORMATION process{};
    run.started = (!faultPoint || FaultPoint(faultPoint, ERROR_ACCESS_DENIED) == ERROR_SUCCESS) &&
                  ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, priority, nullptr,
                                   folder.empty() ? nullptr : folder.c_str(), &startup, &process);
    if (run.started) {
        const ProcessHandles handles(process);
        if (WaitPumpingMessages(handles.process.get()) == WAIT_FAILED ||
            !::GetExitCodeProcess(handles.process.get(), &run.exitCode))
            run.exitCode = 0;
    }
    run.owned = TakeBack(mutex);
    return run;
}

}  // namespace

std::wstring RegistrationCommandLine(const std::wstring& mainProgramPath, ProductVersion foundVersion)
{
    // A path cut short here would start some other program, and an unquoted
    // one with spaces lets the system guess where the program name ends.
    if (mainProgramPath.size() >= MAX_PATH)
        return {};
    wchar_t program[MAX_PATH] = {};
    ::lstrcpynW(program, mainProgramPath.c_str(), MAX_PATH);
    if (::StrChrW(program, L' ')) {
        ::PathQuoteSpacesW(program);
        if (program[0] != L'"')
            return {};  // no room for the quotes
    }

    std::wstring line = program;
    line += L" /Register /Background";
    // The program parses these digits: the user's number grouping has no
    // place in them.
    if (foundVersion != 0)
        line += (boost::wformat(L" /update=%|1$016x|", std::locale::classic()) % foundVersion).str();
    return line;
}

bool RegisterFileTypes(UninstallLog& log, const std::wstring& mainProgramPath,
                       ProductVersion foundVersion, InstanceMutex& mutex)
{
    log.RecordFileTypes(mainProgramPath);

    std::wstring commandLine = RegistrationCommandLine(mainProgramPath, foundVersion);
    if (commandLine.empty()) {
        log.CommitOutcome(0);
        return false;
    }
    const ProgramRun run = RunWithMutexReleased(commandLine, ParentFolderKeepingRoot(mainProgramPath),
                                                HIGH_PRIORITY_CLASS, "start registration", mutex);
    if (!run.started) {
        log.CommitOutcome(0);
        return false;
    }
    const bool owned = run.owned;
    const DWORD exitCode = run.exitCode;

    const bool registered = owned && exitCode == static_cast<DWORD>(kRegistrationSucceeded);
    log.CommitOutcome(registered ? 1 : 0);
    if (registered) {
        const HCURSOR previous = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        ::SHChangeNotify(SHCNE_ASSOCCHANGED, SHCNF_FLUSH, nullptr, nullptr);
        ::SetCursor(previous);
    }
    return registered;
}

bool WithdrawFileTypes(const std::wstring& mainProgramPath, InstanceMutex& mutex)
{
    if (mainProgramPath.empty() || mainProgramPath.size() >= MAX_PATH)
        return false;
    const ProgramRun run = RunWithMutexReleased(L"\"" + mainProgramPath + L"\" /Unregister /Background",
                                                ParentFolderKeepingRoot(mainProgramPath), 0, nullptr, mutex);
    return run.owned && run.started && run.exitCode == static_cast<DWORD>(kRegistrationSucceeded);
}

}  // namespace va
