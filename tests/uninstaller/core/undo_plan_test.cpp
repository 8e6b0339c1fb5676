#include <gtest/gtest.h>

#include <algorithm>

#include "uninstaller/core/undo_plan.h"

namespace va::uninstall {
namespace {

const std::wstring kInstall = L"C:\\Program Files\\Vantaro\\Trelvane 7";
const std::wstring kMenu = L"C:\\Menu\\Vantaro\\Trelvane 7";
const std::wstring kData = L"C:\\ProgramData\\Vantaro\\Trelvane 7";

ProductAreas Areas()
{
    ProductAreas areas;
    for (const std::wstring& root : {kInstall, kMenu, kData, std::wstring(L"C:\\Users\\Public\\Desktop")})
        areas.AddRoot(root);
    for (const wchar_t* system : {L"C:\\Program Files", L"C:\\ProgramData", L"C:\\Menu", L"C:\\Users\\Public\\Desktop"})
        areas.AddProtected(system);
    return areas;
}

LogEntry Entry(std::int32_t type, std::wstring path, std::int32_t detail = -1, std::uint8_t outcome = 1)
{
    LogEntry e;
    e.Type = type;
    e.Path = std::move(path);
    e.Detail = detail;
    e.Outcome = outcome;
    return e;
}

// A log as the installer writes it: folders before their files, then the
// shortcuts, the DirectX runtime, the key and the file types.
std::vector<LogEntry> TypicalLog()
{
    return {
        Entry(CreatedFolder, L"C:\\Program Files\\Vantaro"),
        Entry(CreatedFolder, kInstall),
        Entry(CreatedFolder, kInstall + L"\\Lang"),
        Entry(InstalledFile, kInstall + L"\\Lang\\TrelvaneFRA.dll", 0),
        Entry(InstalledFile, kInstall + L"\\Trelvane.exe", 1),
        Entry(InstalledFile, kInstall + L"\\Uninstall.exe", 2),
        Entry(CreatedFolder, L"C:\\ProgramData\\Vantaro"),
        Entry(CreatedFolder, kData),
        Entry(InstalledFile, kData + L"\\Standard.tv-lib", 3),
        Entry(InstalledFile, kData + L"\\Broken.tv-lib", 3, 0),  // never placed
        Entry(CreatedFolder, kData + L"\\Textures"),
        Entry(InstalledFile, kData + L"\\Textures\\Oak.jpg", 4),
        Entry(CreatedFolder, L"C:\\Menu\\Vantaro"),
        Entry(CreatedFolder, kMenu),
        Entry(ProgramShortcut, kMenu + L"\\Trelvane 7.08g.lnk"),
        Entry(UninstallShortcut, L"", -1, 0),  // creation failed
        Entry(DesktopShortcut, L"C:\\Users\\Public\\Desktop\\Trelvane 7.08g.lnk"),
        Entry(DirectXRuntime, L"Mise à jour de DirectX..."),
        Entry(UninstallKey, L""),
        Entry(FileTypes, L""),
    };
}

struct Expected {
    StepKind kind;
    std::wstring path;
};

void ExpectPlan(const std::vector<UndoStep>& plan, const std::vector<Expected>& expected)
{
    ASSERT_EQ(plan.size(), expected.size());
    for (std::size_t n = 0; n < plan.size(); ++n) {
        EXPECT_EQ(plan[n].kind, expected[n].kind) << "#" << n;
        EXPECT_EQ(plan[n].path, expected[n].path) << "#" << n;
    }
}

TEST(UndoPlan, FileTypesFirstThenNewestFirstFoldersDeepestFirstKeysLast)
{
    PlanChoices choices;
    choices.ownProgram = kInstall + L"\\Uninstall.exe";
    ExpectPlan(PlanUndo(TypicalLog(), Areas(), choices),
               {
                   {StepKind::UnregisterFileTypes, kInstall + L"\\Trelvane.exe"},
                   {StepKind::KeepSharedComponent, L""},
                   {StepKind::DeleteShortcut, L"C:\\Users\\Public\\Desktop\\Trelvane 7.08g.lnk"},
                   {StepKind::DeleteShortcut, kMenu + L"\\Trelvane 7.08g.lnk"},
                   {StepKind::DeleteFile, kData + L"\\Textures\\Oak.jpg"},
                   {StepKind::KeepDataFile, kData + L"\\Standard.tv-lib"},
                   {StepKind::LeaveToCopy, kInstall + L"\\Uninstall.exe"},
                   {StepKind::DeleteFile, kInstall + L"\\Trelvane.exe"},
                   {StepKind::DeleteFile, kInstall + L"\\Lang\\TrelvaneFRA.dll"},
                   {StepKind::RemoveFolder, kData + L"\\Textures"},
                   {StepKind::RemoveFolder, kInstall + L"\\Lang"},
                   {StepKind::RemoveFolder, kMenu},
                   {StepKind::RemoveFolder, kData},
                   {StepKind::RemoveFolder, kInstall},
                   {StepKind::RemoveFolder, L"C:\\Menu\\Vantaro"},
                   {StepKind::RemoveFolder, L"C:\\ProgramData\\Vantaro"},
                   {StepKind::RemoveFolder, L"C:\\Program Files\\Vantaro"},
                   {StepKind::RemoveProductKeys, L""},
               });
}

TEST(UndoPlan, DataFilesGoOnlyWhenTheUserAgrees)
{
    PlanChoices choices;
    choices.removeDataFiles = true;
    const auto plan = PlanUndo(TypicalLog(), Areas(), choices);
    const auto data = std::find_if(plan.begin(), plan.end(),
                                   [](const UndoStep& s) { return s.path == kData + L"\\Standard.tv-lib"; });
    ASSERT_NE(data, plan.end());
    EXPECT_EQ(data->kind, StepKind::DeleteFile);
    EXPECT_EQ(DataFilesOf(TypicalLog(), Areas()), std::vector<std::wstring>{kData + L"\\Standard.tv-lib"});
}

TEST(UndoPlan, PathsOutsideTheProductAreLeftAndTheirProgramIsNeverStarted)
{
    const std::vector<LogEntry> log = {
        Entry(CreatedFolder, L"C:\\Windows"),
        Entry(InstalledFile, L"C:\\Windows\\System32\\kernel32.dll", 0),
        Entry(InstalledFile, L"C:\\Tools\\Trelvane.exe", 1),
        Entry(InstalledFile, kInstall + L"\\..\\..\\..\\Windows\\win.ini", 4),
        Entry(ProgramShortcut, L"C:\\Users\\Public\\Documents\\Trelvane.lnk"),
        Entry(FileTypes, L""),
    };
    ExpectPlan(PlanUndo(log, Areas(), {}),
               {
                   {StepKind::LeaveOutside, L"C:\\Tools\\Trelvane.exe"},
                   {StepKind::LeaveOutside, L"C:\\Users\\Public\\Documents\\Trelvane.lnk"},
                   {StepKind::LeaveOutside, kInstall + L"\\..\\..\\..\\Windows\\win.ini"},
                   {StepKind::LeaveOutside, L"C:\\Tools\\Trelvane.exe"},
                   {StepKind::LeaveOutside, L"C:\\Windows\\System32\\kernel32.dll"},
                   {StepKind::LeaveOutside, L"C:\\Windows"},
               });
}

TEST(UndoPlan, AMergedLogGivesEachPathOnceFromItsNewestEntry)
{
    // Two installations in one log: the update placed the program again
    // and made its own shortcut; the first one's key and file types were
    // replaced when the log was merged, but a log may still hold both.
    const std::vector<LogEntry> log = {
        Entry(CreatedFolder, kInstall),
        Entry(InstalledFile, kInstall + L"\\Trelvane.exe", 1),
        Entry(InstalledFile, kInstall + L"\\Old.dll", 0),
        Entry(UninstallKey, L""),
        Entry(FileTypes, L""),
        Entry(CreatedFolder, L"c:\\program files\\vantaro\\trelvane 7\\"),
        Entry(InstalledFile, L"C:\\PROGRAM FILES\\Vantaro\\Trelvane 7\\Trelvane.exe", 1),
        Entry(UninstallKey, L""),
        Entry(FileTypes, L""),
    };
    ExpectPlan(PlanUndo(log, Areas(), {}),
               {
                   {StepKind::UnregisterFileTypes, L"C:\\PROGRAM FILES\\Vantaro\\Trelvane 7\\Trelvane.exe"},
                   {StepKind::DeleteFile, L"C:\\PROGRAM FILES\\Vantaro\\Trelvane 7\\Trelvane.exe"},
                   {StepKind::DeleteFile, kInstall + L"\\Old.dll"},
                   {StepKind::RemoveFolder, L"c:\\program files\\vantaro\\trelvane 7\\"},
                   {StepKind::RemoveProductKeys, L""},
               });
}

TEST(UndoPlan, NothingForEntriesThatWereNeverMade)
{
    const std::vector<LogEntry> log = {
        Entry(CreatedFolder, kInstall, -1, 0), Entry(InstalledFile, kInstall + L"\\a.dll", 0, 0),
        Entry(ProgramShortcut, L"", -1, 0),   Entry(UninstallKey, L"", -1, 0),
        Entry(FileTypes, L"", -1, 0),         Entry(DirectXRuntime, L"x", -1, 0),
    };
    EXPECT_TRUE(PlanUndo(log, Areas(), {}).empty());
}

TEST(UndoPlan, FileTypesWithoutAMainProgramStillGiveTheirStep)
{
    const auto plan = PlanUndo({Entry(FileTypes, L"")}, Areas(), {});
    ExpectPlan(plan, {{StepKind::UnregisterFileTypes, L""}});
}

}  // namespace
}  // namespace va::uninstall
