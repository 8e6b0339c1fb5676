// Installations that succeed, through the real installer: a fresh quick
// installation checked line by line and on the machine, a reinstallation,
// an update from an older version, and the About box opened in the middle
// of a run.

#include <algorithm>
#include <fstream>
#include <iterator>

#include "tests/common/file_bytes.h"
#include "tests/common/standins.h"
#include "tests/driver/machine_snapshot.h"
#include "tests/engine/transaction/installation_fixture.h"

namespace va::test {
namespace {

constexpr UINT kAboutCommand = 0x10;

bool WriteFileBytes(const std::wstring& path, const std::string& bytes)
{
    ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return WriteBytes(path, bytes);
}

std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
}

// The paths the entries of a log name (after " -- "), in their order.
std::vector<std::wstring> LogEntryPaths(const std::string& log)
{
    if (log.size() < 2)
        return {};
    const std::wstring text(reinterpret_cast<const wchar_t*>(log.data() + 2), (log.size() - 2) / sizeof(wchar_t));
    std::vector<std::wstring> paths;
    for (const std::wstring& line : Lines(text)) {
        const size_t mark = line.find(L" -- ");
        if (!line.starts_with(L"//") && mark != std::wstring::npos)
            paths.push_back(line.substr(mark + 4));
    }
    return paths;
}

// The product's folders and registry trees.
MachineSnapshot ProductSnapshot(const ProductPlaces& p)
{
    SnapshotScope scope;
    scope.folders = {p.installFolder, p.startMenuFolder, p.commonData, p.userData, p.samples};
    scope.registry = ProductRegistryTrees();
    return MachineSnapshot::Take(scope);
}

// What the demo package places, in its order; the temporary folder's files
// are named by their file name alone.
struct Placed {
    std::wstring path;
    bool temporary = false;
};

std::vector<Placed> DemoFiles(const ProductPlaces& p)
{
    return {
        {p.installFolder + L"\\Lang\\TrelvaneFRA.dll"}, {p.installFolder + L"\\Lang\\TrelvaneENU.dll"},
        {p.installFolder + L"\\Lang\\TrelvaneDEU.dll"}, {p.installFolder + L"\\Trelvane.exe"},
        {p.installFolder + L"\\Uninstall.exe"},         {p.commonData + L"\\Standard.tv-lib"},
        {p.commonData + L"\\Metals.mat-vantaro"},       {p.userData + L"\\MyImages.bmp"},
        {p.samples + L"\\Welcome.tv-proj"},             {p.samples + L"\\Starter.tv-cab"},
        {p.commonData + L"\\Textures\\Oak.jpg"},        {p.commonData + L"\\Textures\\Slate.jpg"},
        {L"DSetup.dll", true},                          {L"dsetup32.dll", true},
        {L"dxcore_x86.cab", true},                      {L"dxextra_x86.cab", true},
    };
}

// A copying line of a file in this run's temporary folder.
bool IsTemporaryCopyingLine(const std::wstring& line, const std::wstring& name)
{
    const std::wstring pattern = Text(kEnglishBlock, 115);
    const size_t insert = pattern.find(L"%1");
    const std::wstring start = pattern.substr(0, insert) + TemporaryPath() + L"vantaro_{";
    const std::wstring end = L"}\\" + name + pattern.substr(insert + 2) + Text(kEnglishBlock, 11);
    return line.size() > start.size() + end.size() && line.compare(0, start.size(), start) == 0 &&
           line.compare(line.size() - end.size(), end.size(), end) == 0;
}

// The six header lines of a log written by a fresh installation.
std::string ExpectedLogHeader(const ProductPlaces& p, const std::wstring& update)
{
    const std::wstring shortcut = L"Shortcut Path : " + p.startMenuFolder;
    std::wstring text = L"// Uninstall Log File v1\r\n"
                        L"// ############ WARNING: Do not delete or modify this file. ############\r\n"
                        L"// Install Trelvane 7.08g" + update + L"\r\n"
                        L"// Install Path : " + p.installFolder + L"\r\n"
                        L"// " + shortcut + L"\r\n"
                        L"// " + std::wstring(shortcut.size(), L'-') + L"\r\n";
    return "\xFF\xFE" + Utf16(text);
}

TEST_F(Installation, QuickFreshInstallationPlacesTheProductAndReportsEveryStep)
{
    ASSERT_TRUE(ReachInstallPage());
    EXPECT_FALSE(::IsWindowVisible(Bar())) << "the bar shows only once a run has started";
    const std::vector<std::wstring> summary = ProgressLines();
    ASSERT_TRUE(Install());

    // The page: the summary kept, a dash line, then one line per step.
    const std::vector<std::wstring> all = ProgressLines();
    ASSERT_GT(all.size(), summary.size());
    for (size_t i = 0; i + 1 < summary.size(); ++i)
        EXPECT_EQ(all[i], summary[i]) << "summary line " << i;
    const std::vector<std::wstring> lines = RunLines();
    const std::vector<Placed> files = DemoFiles(places_);
    ASSERT_EQ(lines.size(), 1 + files.size() + 4 + 1);
    size_t at = 0;
    EXPECT_EQ(lines[at++], StepLine(kEnglishBlock, 114, true));
    for (const Placed& file : files) {
        if (file.temporary) {
            EXPECT_TRUE(IsTemporaryCopyingLine(lines[at], file.path)) << lines[at];
        } else {
            EXPECT_EQ(lines[at], CopyingLine(file.path) + Text(kEnglishBlock, 11));
        }
        ++at;
    }
    EXPECT_EQ(lines[at++], StepLine(kEnglishBlock, 117, true));
    EXPECT_EQ(lines[at++], StepLine(kFrenchBlock, 131, true)) << "the DirectX text exists only in French";
    EXPECT_EQ(lines[at++], StepLine(kEnglishBlock, 118, true));
    EXPECT_EQ(lines[at++], StepLine(kEnglishBlock, 119, true));
    EXPECT_EQ(lines[at++], L"");
    EXPECT_EQ(Status(), DoneStatus());
    EXPECT_TRUE(::IsWindowVisible(Bar()));
    EXPECT_EQ(BarPosition(), 100);
    EXPECT_FALSE(IsControlEnabled(host_, IDC_BACK));
    EXPECT_EQ(ControlText(host_, IDOK), Text(kEnglishBlock, 6) + L"  >");

    // The machine.
    for (const Placed& file : files) {
        if (!file.temporary) {
            EXPECT_TRUE(FileExists(file.path)) << file.path;
        }
    }
    const std::wstring program = places_.installFolder + L"\\Trelvane.exe";
    const std::wstring uninstaller = places_.installFolder + L"\\Uninstall.exe";
    EXPECT_TRUE(IsReadOnly(program));
    EXPECT_TRUE(IsReadOnly(uninstaller));
    EXPECT_EQ(RunFolders(), runFoldersBefore_) << "the run's temporary folder is left behind";
    const std::string log = FileBytes(places_.installFolder + L"\\Uninstall.ulog");
    const std::string header = ExpectedLogHeader(places_, L"");
    EXPECT_EQ(log.substr(0, header.size()), header);
    EXPECT_GT(log.size(), header.size()) << "the log names no entry";
    EXPECT_EQ(MachineText(kTestUninstallKey, L"DisplayName"), L"Trelvane 7.08g");
    EXPECT_EQ(MachineText(kTestUninstallKey, L"UninstallString"), uninstaller);
    EXPECT_EQ(MachineText(kTestMakerKey, kTestPathValue), program);
    EXPECT_TRUE(FileExists(places_.startMenuFolder + L"\\Trelvane 7.08g.lnk"));
    EXPECT_TRUE(FileExists(places_.startMenuFolder + L"\\" + Fill(Text(kEnglishBlock, 13), {L"Trelvane"}) + L".lnk"));
    EXPECT_TRUE(FileExists(places_.desktopLinks[0]) || FileExists(places_.desktopLinks[1]));
    EXPECT_EQ(StandinCount(L"DirectSetup stand-in", L"Runs"), 1u);

    // The End page, and back to the record of the run.
    ASSERT_TRUE(Press(IDOK, 5));
    EXPECT_EQ(ControlText(PageOf(host_, 5), IDC_INFO), Text(kEnglishBlock, 120));
    EXPECT_EQ(ControlText(PageOf(host_, 5), IDC_STATUS), Fill(Text(kEnglishBlock, 107), {Text(kEnglishBlock, 4)}));
    EXPECT_FALSE(IsControlEnabled(host_, IDOK));
    ASSERT_TRUE(Press(IDC_BACK, 4));
    EXPECT_EQ(ProgressLines(), all);
    EXPECT_EQ(Status(), DoneStatus());
    ExitWizard();
}

TEST_F(Installation, ReinstallationRunsTheDirectXStepAgainAndKeepsOneSetOfEverything)
{
    InstallQuickly();
    ExitWizard();
    ASSERT_EQ(StandinCount(L"DirectSetup stand-in", L"Runs"), 1u);
    const std::wstring logPath = places_.installFolder + L"\\Uninstall.ulog";
    const std::vector<std::wstring> firstEntries = LogEntryPaths(FileBytes(logPath));
    ASSERT_GT(firstEntries.size(), 10u);
    const MachineSnapshot first = ProductSnapshot(places_);

    ASSERT_TRUE(ReachInstallPage());
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());
    const std::vector<std::wstring> lines = RunLines();
    EXPECT_NE(std::find(lines.begin(), lines.end(), StepLine(kFrenchBlock, 131, true)), lines.end());
    EXPECT_EQ(StandinCount(L"DirectSetup stand-in", L"Runs"), 2u);
    EXPECT_TRUE(IsReadOnly(places_.installFolder + L"\\Trelvane.exe"));

    // The merged log names each thing once, as the first did; nothing of
    // the first installation is gone and nothing came twice.
    const std::string log = FileBytes(logPath);
    EXPECT_NE(log.find(Utf16(L"// Install Trelvane 7.08g -- Update (Trelvane 7.08g)\r\n")), std::string::npos);
    // (The merge may order them otherwise.)
    std::vector<std::wstring> entries = LogEntryPaths(log);
    std::vector<std::wstring> expected = firstEntries;
    std::sort(entries.begin(), entries.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(entries, expected);
    const MachineSnapshot second = ProductSnapshot(places_);
    std::vector<std::wstring> lost;
    for (const auto& [path, facts] : first.files) {
        if (!second.files.contains(path))
            lost.push_back(facts.spelling);
    }
    EXPECT_TRUE(lost.empty()) << Narrow(lost);
    EXPECT_EQ(second.files.size(), first.files.size());
    EXPECT_EQ(second.registry, first.registry);
    ExitWizard();
}

TEST_F(Installation, UpdateKeepsDataFilesWritesNoSamplesAndSkipsADirectXStepAlreadyDone)
{
    InstallQuickly();
    ExitWizard();
    // The older version in place of the program, a data file the user
    // changed and a sample the user deleted.
    const std::wstring program = places_.installFolder + L"\\Trelvane.exe";
    const std::string newProgram = FileBytes(program);
    ASSERT_TRUE(WriteFileBytes(program, FileBytes(StandinPath(L"trelvane-7.8.7.0\\Trelvane.exe"))));
    const std::wstring data = places_.commonData + L"\\Standard.tv-lib";
    ASSERT_TRUE(WriteFileBytes(data, "changed by the user"));
    const std::wstring sample = places_.samples + L"\\Welcome.tv-proj";
    ::SetFileAttributesW(sample.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileW(sample.c_str()));
    const std::wstring userData = places_.userData + L"\\MyImages.bmp";
    ASSERT_TRUE(WriteFileBytes(userData, std::string("BM changed\0 by the user", 23)));
    const std::wstring texture = places_.commonData + L"\\Textures\\Oak.jpg";
    const std::string textureBytes = "a sample the user changed";
    ASSERT_TRUE(WriteFileBytes(texture, textureBytes));
    // The log as the older version's installer wrote it.
    const std::wstring logPath = places_.installFolder + L"\\Uninstall.ulog";
    std::string previousLog = FileBytes(logPath);
    const std::string product = Utf16(L"// Install Trelvane 7.08g\r\n");
    const size_t at = previousLog.find(product);
    ASSERT_NE(at, std::string::npos);
    previousLog.replace(at, product.size(), Utf16(L"// Install Trelvane 7.08f\r\n"));
    ASSERT_TRUE(WriteFileBytes(logPath, previousLog));

    ASSERT_TRUE(ReachInstallPage());
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());
    EXPECT_EQ(BarPosition(), 100);
    const std::vector<std::wstring> lines = RunLines();
    for (const std::wstring& line : lines) {
        EXPECT_EQ(line.find(L"Welcome.tv-proj"), std::wstring::npos) << line;
        EXPECT_EQ(line.find(L"Standard.tv-lib"), std::wstring::npos) << line;
    }
    EXPECT_EQ(std::find(lines.begin(), lines.end(), StepLine(kFrenchBlock, 131, true)), lines.end());
    EXPECT_EQ(StandinCount(L"DirectSetup stand-in", L"Runs"), 1u);
    EXPECT_FALSE(FileExists(sample));
    EXPECT_EQ(FileBytes(data), "changed by the user");
    EXPECT_EQ(FileBytes(userData), std::string("BM changed\0 by the user", 23));
    EXPECT_EQ(FileBytes(texture), textureBytes) << "a sample was written again";
    EXPECT_EQ(FileBytes(program), newProgram);
    EXPECT_TRUE(IsReadOnly(program));
    const std::string log = FileBytes(places_.installFolder + L"\\Uninstall.ulog");
    EXPECT_NE(log.find(Utf16(L"// Install Trelvane 7.08g -- Update (Trelvane 7.08f)\r\n")), std::string::npos);
    ExitWizard();
}

TEST_F(Installation, WithBothShortcutChoicesOffNoShortcutIsMadeOrReported)
{
    ASSERT_TRUE(Start());
    ASSERT_TRUE(Press(IDOK, 1));
    ::SendMessageW(::GetDlgItem(PageOf(host_, 1), IDC_ADVANCED), BM_CLICK, 0, 0);
    ASSERT_TRUE(Press(IDOK, 2));
    ASSERT_TRUE(Press(IDOK, 3));
    HWND shortcuts = PageOf(host_, 3);
    for (int box : {IDC_MENU_SHORTCUT, IDC_DESKTOP_SHORTCUT}) {
        if (IsControlChecked(shortcuts, box))
            ::SendMessageW(::GetDlgItem(shortcuts, box), BM_CLICK, 0, 0);
        ASSERT_FALSE(IsControlChecked(shortcuts, box));
    }
    ASSERT_TRUE(Press(IDOK, 4));
    const std::vector<std::wstring> summary = ProgressLines();
    ASSERT_EQ(summary.size(), 4u) << "the summary names no shortcut";
    ASSERT_TRUE(Install());
    EXPECT_EQ(Status(), DoneStatus());
    const std::vector<std::wstring> lines = RunLines();
    for (const std::wstring& line : lines)
        EXPECT_EQ(line.find(Text(kEnglishBlock, 117)), std::wstring::npos) << line;
    EXPECT_FALSE(FileExists(places_.startMenuFolder + L"\\Trelvane 7.08g.lnk"));
    for (const std::wstring& link : places_.desktopLinks)
        EXPECT_FALSE(FileExists(link)) << link;
    EXPECT_TRUE(FileExists(places_.installFolder + L"\\Uninstall.ulog"));
    ExitWizard();
}

TEST_F(Installation, AboutBoxOpenedDuringTheRunHoldsItUntilClosed)
{
    ASSERT_TRUE(ReachInstallPage());
    PressButton(host_, IDOK);
    // Handled by the first round of messages inside the run.
    ::PostMessageW(host_, WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = WaitForDialog(installer_, [this](HWND d) { return d != host_ && ::GetDlgItem(d, IDC_ABOUT_PRODUCT); });
    ASSERT_NE(about, nullptr);
    const std::wstring text = ControlText(InstallPage(), IDC_PROGRESS_TEXT);
    const std::wstring status = Status();
    ::Sleep(3000);
    EXPECT_EQ(ControlText(InstallPage(), IDC_PROGRESS_TEXT), text) << "the run went on behind the About box";
    EXPECT_EQ(Status(), status);
    EXPECT_FALSE(IsControlEnabled(host_, IDCANCEL));
    PressButton(about, IDOK);
    ASSERT_TRUE(WaitUntilGone(about));
    for (int i = 0; i < 6000 && !IsControlEnabled(host_, IDCANCEL); ++i)
        ::Sleep(100);
    EXPECT_EQ(Status(), DoneStatus());
    ExitWizard();
}

}  // namespace
}  // namespace va::test
