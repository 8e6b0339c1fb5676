// The command line's part of start-up: the switches, the text log, and the
// installation without window.

#include <shlobj.h>
#include <shlwapi.h>

#include "installer/core/run_log_lines.h"
#include "identity/core/product.h"
#include "installer/install_app.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "installer/previous_installation.h"
#include "engine/transaction/install_transaction.h"
#include "engine/transaction/installer_texts.h"
#include "engine/transaction/run_log_sink.h"
#include "support/core/exit_codes.h"
#include "support/error_text.h"
#include "support/format_message.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "support/program_path.h"

namespace va {
namespace {

const wchar_t* ModeName(RunMode mode)
{
    switch (mode) {
    case RunMode::Quiet:
        return L"quiet";
    case RunMode::Passive:
        return L"passive";
    default:
        return L"wizard";
    }
}

// The folder the Shortcut page relates the Start-menu folder to.
std::wstring StartMenuRoot()
{
    wchar_t buffer[MAX_PATH] = {};
    if (::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_COMMON_STARTMENU, FALSE) ||
        ::SHGetSpecialFolderPathW(nullptr, buffer, CSIDL_STARTMENU, FALSE))
        return buffer;
    return {};
}

std::wstring UsageText()
{
    const std::wstring program = ProgramPath();
    return FormatInserts(InstallerMessage(kMessageUsage), {::PathFindFileNameW(program.c_str())});
}

}  // namespace

void CInstallApp::TakeCommandLine(const std::wstring& commandLine)
{
    const std::vector<std::wstring> arguments = SplitArguments(ArgumentsAfterProgram(commandLine));
    switches_ = ParseInstallerArguments(arguments);
    // A refused line is as silent as the run it refuses.
    const bool quiet = switches_.parsed.Valid() ? Quiet() : NamesSwitch(arguments, {L"quiet"});
    if (quiet) {
        switches_.options.mode = RunMode::Quiet;
        SetQuietHook([] { return true; });
    }
    if (!switches_.parsed.Valid() || switches_.options.logFile.empty())
        return;
    if (!TextLog.Open(switches_.options.logFile, false, logError_))
        return;
    TextLog.Line(L"installer " + ProgramPath() + L": " + commandLine);
    TextLog.Line(std::wstring(L"mode ") + ModeName(Options().mode));
    // What a failed run takes back, entry by entry.
    PreviousLog.UndoObserver = [this](const LogEntry& entry) { TextLog.Line(UndoLine(entry)); };
}

bool CInstallApp::AcceptCommandLine()
{
    const CommandLine& line = switches_.parsed;
    if (!line.Valid()) {
        TextLog.Line(L"refused: " + line.offending + L" (" + std::wstring(switches_.reason) + L")");
        Refuse(exit_code::kBadCommandLine,
               FormatInserts(InstallerMessage(kMessageBadCommandLine), {line.offending}) + L"\r\n\r\n" + UsageText());
        return false;
    }
    if (logError_ != ERROR_SUCCESS) {
        Refuse(exit_code::kBadCommandLine, FormatInserts(InstallerMessage(kMessageLogFileFailed),
                                                         {Options().logFile, ErrorText(logError_)}));
        return false;
    }
    if (Options().help) {
        exitCode_ = exit_code::kSuccess;
        ShowMessage(UsageText(), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    return true;
}

void CInstallApp::ApplyLanguageSwitch()
{
    if (Options().language) {
        const LanguageIndex index = *Options().language;
        SetLanguage(index);
        if (!IsInstallerTranslated(index)) {
            // As on the Start page; only the user who watches is told.
            const std::wstring text =
                FormatInserts(InstallerMessage(kMessageNoInstallerTexts), {ProductDisplayName(false)});
            TextLog.Line(text);
            if (Options().mode == RunMode::Wizard)
                ShowMessage(text, MB_OK | MB_ICONINFORMATION);
            SetLanguage(kEnglish);
        }
        SetApplicationTitle(InstallerTitle(true));
    }
    TextLog.Line(L"interface language " + std::to_wstring(CurrentLanguage().Index));
}

void CInstallApp::ApplyFolderSwitches()
{
    const InstallerOptions& options = Options();
    if (options.installFolder) {
        if (InstallKind == Fresh)
            InstallFolder = *options.installFolder;
        else
            TextLog.Line(L"/dir not taken: the installation found at start-up keeps its folder " + InstallFolder);
    }
    if (options.startMenuGroup) {
        const std::wstring root = StartMenuRoot();
        wchar_t combined[MAX_PATH] = {};
        if (!root.empty() && ::PathCombineW(combined, root.c_str(), options.startMenuGroup->c_str()))
            StartMenuFolder = combined;
        else
            TextLog.Line(L"/group not taken: no Start menu to put it in");
    }
    if (options.noStartMenu)
        CreateStartMenuShortcut = false;
    if (options.noDesktop)
        CreateDesktopShortcut = false;
}

void CInstallApp::LogSessionFacts()
{
    if (!TextLog.IsOpen())
        return;
    const std::wstring& installed = InstalledProgramPath();
    TextLog.Line(L"installed program " + (installed.empty() ? std::wstring(L"none") : installed) +
                 (FoundVersionText.empty() ? L"" : L", version " + FoundVersionText));
    TextLog.Line(L"install kind " + InstallKindName(InstallKind));
    TextLog.Line(L"installation folder " + InstallFolder);
    TextLog.Line(L"Start-menu shortcuts " + std::wstring(YesNo(CreateStartMenuShortcut)) + L", folder " +
                 StartMenuFolder);
    TextLog.Line(L"desktop shortcut " + std::wstring(YesNo(CreateDesktopShortcut)));
}

void CInstallApp::RunQuietly()
{
    if (InstallKind == NewerInstalled) {
        Refuse(exit_code::kNewerInstalled,
               FormatInserts(InstallerMessage(kMessageNewerInstalled), {FoundVersionText}));
        return;
    }
    const InstallerTexts texts;
    ProductPaths paths;
    {
        RunLogSink sink(TextLog, nullptr);
        InstallSucceeded =
            RunInstallTransaction(*this, sink, texts, static_cast<std::uint32_t>(CurrentLanguage().Index), paths);
    }
    TextLog.Line(InstallSucceeded ? L"installed" : L"not installed: the machine is as it was");
    exitCode_ = InstallSucceeded ? exit_code::kSuccess : exit_code::kFailed;
}

}  // namespace va
