// The real shell browser, run by the browser pilot and driven from here as a
// user would drive it.

#include <windows.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "support/error_text.h"
#include "tests/common/scratch_folder.h"
#include "tests/wizard/browser_window.h"

namespace va::test {
namespace {

const std::wstring kSuffix = L"Trelvane 7";
const std::wstring kTitle = L"Select 'Trelvane' Installation Folder.";

// What the platform's browser may lack.
constexpr const char* kNoEditBoxAnswer =
    "the platform's folder browser answers with the tree's selection and never hands the edit box's text "
    "to the program (no BFFM_VALIDATEFAILED)";
constexpr const char* kTreeIgnoredKeys =
    "the platform's folder browser tree did not move as the keys asked";
constexpr const char* kNoSelectionByPath =
    "the platform's folder browser did not select a folder named by its path (BFFM_SETSELECTIONW)";

std::wstring SpecialFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    return ::SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

std::wstring Wide(const std::string& utf8)
{
    const int size = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring text(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(), size);
    return text;
}

// What the caller of the browser saw.
struct Answer {
    std::wstring result = L"<none>";
    std::wstring initial = L"<none>";
    std::wstring relative = L"<none>";
};

// One run of the browser pilot.
class Pilot {
public:
    Pilot(const wchar_t* mode, const std::wstring& initial, const std::wstring& output) : output_(output)
    {
        wchar_t self[MAX_PATH] = {};
        ::GetModuleFileNameW(nullptr, self, MAX_PATH);
        ::PathRemoveFileSpecW(self);
        const std::wstring pilot = std::wstring(self) + L"\\browser_pilot.exe";
        process_ = StartProgram(pilot, std::wstring(mode) + L" \"" + initial + L"\" \"" + kSuffix + L"\" \"" +
                                           kTitle + L"\" \"" + output + L"\"");
        browser_ = WaitForBrowser(process_);
    }
    ~Pilot()
    {
        if (WaitForExit(process_, browser_ ? kDefaultLimitMs : 0) == STILL_ACTIVE)
            ::TerminateProcess(process_.handle.get(), 1);
    }
    Pilot(const Pilot&) = delete;
    Pilot& operator=(const Pilot&) = delete;

    HWND Browser() const { return browser_; }
    DWORD ProcessId() const { return process_.id; }

    // Waits for the pilot's end and reads what its caller saw.
    Answer Finish()
    {
        Answer answer;
        if (WaitForExit(process_) != 0)
            return answer;
        const std::wstring text = Wide(ReadBytes(output_));
        const size_t first = text.find(L'\n');
        const size_t second = text.find(L'\n', first + 1);
        const size_t third = text.find(L'\n', second + 1);
        if (third == std::wstring::npos)
            return answer;
        answer.result = text.substr(0, first);
        answer.initial = text.substr(first + 1, second - first - 1);
        answer.relative = text.substr(second + 1, third - second - 1);
        return answer;
    }

private:
    std::wstring output_;
    Process process_;
    HWND browser_ = nullptr;
};

// A fresh folder at the root of the system drive, removed afterwards: the
// browser's tree reaches it through the drive.
class DriveScratch {
public:
    DriveScratch()
    {
        wchar_t windows[MAX_PATH] = {};
        ::GetWindowsDirectoryW(windows, MAX_PATH);
        static int counter = 0;
        path_ = std::wstring(windows, 3) + L"browser test " + std::to_wstring(::GetCurrentProcessId()) + L"_" +
                std::to_wstring(++counter);
        RemoveTree(path_);
        ::CreateDirectoryW(path_.c_str(), nullptr);
    }
    ~DriveScratch() { RemoveTree(path_); }
    DriveScratch(const DriveScratch&) = delete;
    DriveScratch& operator=(const DriveScratch&) = delete;

    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

class FolderBrowserDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const wchar_t* folder : {L"Program Files", L"Apps", L"Apps\\TRELVANE 7", L"Other"})
            ASSERT_TRUE(::CreateDirectoryW((scratch_ / folder).c_str(), nullptr));
    }

    std::wstring In(const std::wstring& name) const { return scratch_ / name; }
    std::wstring Output() const { return scratch_ / L"answer.txt"; }

    DriveScratch scratch_;
};

TEST_F(FolderBrowserDialog, ProposesEachChosenFolderWithTheSuffix)
{
    Pilot pilot(L"plain", In(L"Program Files\\Vantaro"), Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    const auto statics = StaticTexts(browser);
    EXPECT_NE(std::find(statics.begin(), statics.end(), kTitle), statics.end());
    // The missing Vantaro folder: the tree opens on its parent.
    const std::wstring opened = ProposalOf(browser);
    if (opened != In(L"Program Files\\Trelvane 7")) {
        PressButton(browser, IDCANCEL);
        GTEST_SKIP() << kNoSelectionByPath << " (proposal \"" << opened << "\")";
    }
    // Up to the scratch folder, down to its first child (the tree sorts
    // them), into that child's only child, on to the next folder.
    PressTreeKey(browser, VK_BACK);
    EXPECT_EQ(ProposalOf(browser), In(L"Trelvane 7"));
    PressTreeKey(browser, VK_DOWN);
    EXPECT_EQ(ProposalOf(browser), In(L"Apps\\Trelvane 7"));
    PressTreeKey(browser, VK_RIGHT);
    PressTreeKey(browser, VK_DOWN);
    EXPECT_EQ(ProposalOf(browser), In(L"Apps\\TRELVANE 7")) << "the suffix is not doubled";
    PressTreeKey(browser, VK_DOWN);
    EXPECT_EQ(ProposalOf(browser), In(L"Other\\Trelvane 7"));
    PressButton(browser, IDOK);
    const Answer answer = pilot.Finish();

    EXPECT_FALSE(Exists(In(L"Other\\Trelvane 7"))) << "the browser creates nothing";
    if (answer.result == In(L"Other"))
        GTEST_SKIP() << kNoEditBoxAnswer;
    EXPECT_EQ(answer.result, In(L"Other\\Trelvane 7"));
    EXPECT_EQ(answer.initial, In(L"Other"));
}

TEST_F(FolderBrowserDialog, AFolderEndingWithTheSuffixIsTheChoiceAsItIs)
{
    Pilot pilot(L"plain", In(L"Apps"), Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    const std::wstring opened = ProposalOf(browser);
    if (opened != In(L"Apps\\Trelvane 7")) {
        PressButton(browser, IDCANCEL);
        pilot.Finish();
        GTEST_SKIP() << kNoSelectionByPath << " (proposal \"" << opened << "\")";
    }
    PressTreeKey(browser, VK_RIGHT);
    PressTreeKey(browser, VK_DOWN);
    const std::wstring moved = ProposalOf(browser);
    // Every proposal the tree's selection gives stays below the scratch
    // folder; one elsewhere there means the tree skipped or lost a key.
    if (moved != In(L"Apps\\TRELVANE 7") && moved.rfind(In(L"Apps"), 0) != 0) {
        PressButton(browser, IDCANCEL);
        pilot.Finish();
        GTEST_SKIP() << kTreeIgnoredKeys << " (proposal \"" << moved << "\")";
    }
    EXPECT_EQ(moved, In(L"Apps\\TRELVANE 7"));
    PressButton(browser, IDOK);
    const Answer answer = pilot.Finish();
    EXPECT_EQ(answer.result, In(L"Apps\\TRELVANE 7"));
    EXPECT_EQ(answer.initial, In(L"Apps"));
}

TEST_F(FolderBrowserDialog, CancelChangesNothing)
{
    Pilot pilot(L"plain", In(L"Apps"), Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    PressTreeKey(browser, VK_BACK);
    PressButton(browser, IDCANCEL);
    const Answer answer = pilot.Finish();
    EXPECT_EQ(answer.result, L"");
    EXPECT_EQ(answer.initial, In(L"Apps"));
}

TEST_F(FolderBrowserDialog, ATypedNewFolderIsReturnedQualifiedWithoutBeingMade)
{
    Pilot pilot(L"plain", In(L"Apps"), Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    TypeProposal(browser, L"  " + In(L"New\\Deeper") + L"\\ ");
    PressButton(browser, IDOK);
    const Answer answer = pilot.Finish();
    EXPECT_FALSE(Exists(In(L"New")));
    // The typed folder does not exist: a folder that does came from the tree.
    // An empty answer: the browser handed back neither the text nor a selection.
    if (answer.result != In(L"New\\Deeper") && (answer.result.empty() || ::PathIsDirectoryW(answer.result.c_str())))
        GTEST_SKIP() << kNoEditBoxAnswer << " (answer \"" << answer.result << "\")";
    EXPECT_EQ(answer.result, In(L"New\\Deeper"));
}

// The installation folder's browser holds a typed folder to the rule of the
// Folder page and /dir: no drive root, no name ending in a dot.
TEST_F(FolderBrowserDialog, ADriveRootOrATrailingDotIsRefusedAsTheFolderPageRefusesIt)
{
    for (const std::wstring& refused : {std::wstring(L"C:\\"), In(L"Trelvane.")}) {
        SCOPED_TRACE(std::string(refused.begin(), refused.end()));
        Pilot pilot(L"plain", In(L"Apps"), Output());
        HWND browser = pilot.Browser();
        ASSERT_TRUE(browser);
        TypeProposal(browser, refused);
        PressButton(browser, IDOK);
        HWND box = WaitForBoxOrClose(pilot.ProcessId(), browser);
        if (!box) {
            pilot.Finish();
            GTEST_SKIP() << kNoEditBoxAnswer;
        }
        EXPECT_EQ(MessageBoxText(box), ErrorText(ERROR_BAD_PATHNAME));
        PressButton(box, IDOK);
        EXPECT_TRUE(WaitUntilGone(box));
        PressButton(browser, IDCANCEL);
        EXPECT_EQ(pilot.Finish().result, L"");
    }
}

TEST_F(FolderBrowserDialog, AWildcardIsRefusedWithTheSystemsTextAndTheBrowserStays)
{
    Pilot pilot(L"plain", In(L"Apps"), Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    TypeProposal(browser, In(L"a*b"));
    PressButton(browser, IDOK);
    HWND box = WaitForBoxOrClose(pilot.ProcessId(), browser);
    if (!box) {
        pilot.Finish();
        GTEST_SKIP() << kNoEditBoxAnswer;
    }
    EXPECT_EQ(MessageBoxText(box), ErrorText(ERROR_BAD_PATHNAME));
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntilGone(box));
    EXPECT_EQ(ProposalOf(browser), In(L"a*b")) << "the refused text stays for the user to mend";
    PressButton(browser, IDCANCEL);
    const Answer answer = pilot.Finish();
    EXPECT_EQ(answer.result, L"");
    EXPECT_EQ(answer.initial, In(L"Apps"));
}

// The Start-menu browser under the prefix's common Programs folder, which
// these tests add a folder to.
class StartMenuBrowserDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        programs_ = SpecialFolder(CSIDL_COMMON_PROGRAMS);
        ASSERT_FALSE(programs_.empty());
        programsName_ = ::PathFindFileNameW(programs_.c_str());
        // '!' sorts the folder first among the Programs folder's children.
        folder_ = programs_ + L"\\!Browser test " + std::to_wstring(::GetCurrentProcessId());
        ASSERT_TRUE(::CreateDirectoryW(folder_.c_str(), nullptr));
    }
    void TearDown() override { RemoveTree(folder_); }

    std::wstring Output() const { return scratch_ / L"answer.txt"; }

    ScratchFolder scratch_;
    std::wstring programs_, programsName_, folder_;
};

TEST_F(StartMenuBrowserDialog, ShowsTheProposalRelativeToTheStartMenu)
{
    const std::wstring folderName = ::PathFindFileNameW(folder_.c_str());
    Pilot pilot(L"relative", programs_ + L"\\Maker\\Trelvane 7", Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    // The Maker folder does not exist: the tree opens on the Programs folder.
    const std::wstring opened = ProposalOf(browser);
    if (opened != programsName_ + L"\\Trelvane 7") {
        PressButton(browser, IDCANCEL);
        pilot.Finish();
        GTEST_SKIP() << kNoSelectionByPath << " (proposal \"" << opened << "\")";
    }
    // Down to the Programs folder's first child, this test's folder.
    PressTreeKey(browser, VK_DOWN);
    const std::wstring moved = ProposalOf(browser);
    if (moved.rfind(programsName_ + L"\\", 0) != 0) {
        PressButton(browser, IDCANCEL);
        pilot.Finish();
        GTEST_SKIP() << kTreeIgnoredKeys << " (proposal \"" << moved << "\")";
    }
    EXPECT_EQ(moved, programsName_ + L"\\" + folderName + L"\\Trelvane 7");
    PressButton(browser, IDOK);
    const Answer answer = pilot.Finish();

    if (answer.result == folder_) {
        // The tree's selection came back: still relative to the Start menu.
        EXPECT_EQ(answer.relative, programsName_ + L"\\" + folderName);
        GTEST_SKIP() << kNoEditBoxAnswer;
    }
    EXPECT_EQ(answer.result, folder_ + L"\\Trelvane 7");
    EXPECT_EQ(answer.relative, programsName_ + L"\\" + folderName + L"\\Trelvane 7");
    EXPECT_EQ(answer.initial, folder_);
}

TEST_F(StartMenuBrowserDialog, AFolderOutsideTheStartMenuIsRefusedAndCancelChangesNothing)
{
    Pilot pilot(L"relative", folder_, Output());
    HWND browser = pilot.Browser();
    ASSERT_TRUE(browser);
    TypeProposal(browser, L"C:\\Outside\\Trelvane 7");
    PressButton(browser, IDOK);
    HWND box = WaitForBoxOrClose(pilot.ProcessId(), browser);
    if (!box) {
        pilot.Finish();
        GTEST_SKIP() << kNoEditBoxAnswer;
    }
    EXPECT_EQ(MessageBoxText(box), ErrorText(ERROR_BAD_PATHNAME));
    PressButton(box, IDOK);
    EXPECT_TRUE(WaitUntilGone(box));
    PressButton(browser, IDCANCEL);
    const Answer answer = pilot.Finish();
    EXPECT_EQ(answer.result, L"");
    EXPECT_EQ(answer.initial, folder_);
    EXPECT_EQ(answer.relative, L"-");
}

}  // namespace
}  // namespace va::test
