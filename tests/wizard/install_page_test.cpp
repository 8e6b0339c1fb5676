// The Install page inside the test program: its summary as the session
// makes it, and banner lines exactly as wide as the text area allows,
// measured with the control's own font.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/placement/file_placement.h"
#include "installer/install_app.h"
#include "languages/core/message_numbers.h"
#include "languages/languages.h"
#include "resources/installer_ids.h"
#include "support/gui_handles.h"
#include "support/resource_string.h"
#include "wizard/dlg_install.h"

namespace va::test {
namespace {

std::wstring English(unsigned message)
{
    return LoadResourceString(nullptr, 2000 + message);
}

std::wstring Filled(unsigned message, const std::wstring& insert)
{
    std::wstring text = English(message);
    text.replace(text.find(L"%1"), 2, insert);
    return text;
}

std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(L"\r\n", start)) != std::wstring::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

class InstallPage : public testing::Test {
protected:
    void SetUp() override
    {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        if (!parent_)
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
        SetLanguage(kEnglish);
        app_.InstallFolder = L"C:\\Program Files\\Vantaro\\Trelvane 7";
        app_.StartMenuFolder = L"C:\\Start\\Vantaro\\Trelvane 7";
        app_.CreateStartMenuShortcut = true;
        app_.CreateDesktopShortcut = true;
        ASSERT_TRUE(page_.Create(IDD_INSTALL_PAGE, parent_));
        edit_ = ::GetDlgItem(page_, IDC_PROGRESS_TEXT);
    }
    void TearDown() override
    {
        if (parent_)
            ::DestroyWindow(parent_);
    }

    std::wstring Text() const
    {
        std::wstring text(static_cast<size_t>(::GetWindowTextLengthW(edit_)) + 1, L'\0');
        text.resize(static_cast<size_t>(::GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()))));
        return text;
    }

    // The width the text area leaves a line, and a line's width in the
    // control's font.
    int Available() const
    {
        RECT client{};
        ::GetClientRect(edit_, &client);
        const auto margins = static_cast<DWORD>(::SendMessageW(edit_, EM_GETMARGINS, 0, 0));
        return client.right - LOWORD(margins) - HIWORD(margins) - 2;
    }
    int Width(const std::wstring& text) const
    {
        const WindowDC dc(edit_);
        const SelectedObject font(dc.get(), reinterpret_cast<HGDIOBJ>(::SendMessageW(edit_, WM_GETFONT, 0, 0)));
        SIZE size{};
        ::GetTextExtentPoint32W(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }
    // As many dashes as fit, and not one more.
    void ExpectFullWidth(const std::wstring& line) const
    {
        EXPECT_LE(Width(line), Available()) << line;
        EXPECT_GT(Width(line + L"-"), Available()) << line;
    }

    CInstallApp app_;
    CDlgInstall page_;
    HWND parent_ = nullptr;
    HWND edit_ = nullptr;
};

// Each copied file's line goes from the file placement through the sink to
// the page's status control, shortened to its width; the progress text
// keeps it whole.
TEST_F(InstallPage, StatusControlShowsTheCopiedFileShortenedToFit)
{
    std::wstring progress;
    PlacementContext context;
    context.installKind = Fresh;
    context.message = [](int n) {
        return n == kMessageCopyingFile ? std::wstring(L"Copying File  %1...") : std::wstring(L"OK");
    };
    context.appendProgress = [&progress](const std::wstring& t) { progress += t; };
    context.showCopiedFile = [this](const std::wstring& t) { page_.ShowCopiedFile(t); };
    wchar_t text[MAX_PATH] = {};

    OnFileBegin({L"a.dll", L"C:\\A\\a.dll", 0, 1, 0, {}}, context);
    ::GetDlgItemTextW(page_, IDC_STATUS, text, MAX_PATH);
    EXPECT_STREQ(text, L"Copying File  C:\\A\\a.dll...");

    const std::wstring deep = L"C:\\" + std::wstring(40, L'x') + L"\\" + std::wstring(40, L'y') + L"\\" +
                              std::wstring(40, L'z') + L"\\file.dll";
    OnFileBegin({L"file.dll", deep, 0, 1, 0, {}}, context);
    ::GetDlgItemTextW(page_, IDC_STATUS, text, MAX_PATH);
    const std::wstring shown = text;
    const std::wstring full = L"Copying File  " + deep + L"...";
    EXPECT_EQ(progress.substr(progress.size() - full.size()), full);  // the progress text keeps it whole
    const bool wine = ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
    if (shown == full && wine)
        GTEST_SKIP() << "Wine's PathSetDlgItemPathW does not shorten the text to the control's width";
    EXPECT_LT(shown.size(), full.size());
    EXPECT_NE(shown.find(L"..."), std::wstring::npos);
}

TEST_F(InstallPage, SummaryNamesTheChoicesWithAFullWidthBannerAndStartsAtTheFirstLine)
{
    page_.UpdateData(FALSE);
    const std::vector<std::wstring> lines = Lines(Text());
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], Filled(100, L"Trelvane 7.08g"));
    const std::wstring words = L" " + English(122) + L" ";
    const size_t at = lines[1].find(words);
    ASSERT_NE(at, std::wstring::npos) << lines[1];
    const size_t before = at;
    const size_t after = lines[1].size() - at - words.size();
    EXPECT_EQ(lines[1], std::wstring(before, L'-') + words + std::wstring(after, L'-'));
    EXPECT_TRUE(after == before || after == before + 1) << before << " before, " << after << " after";
    ExpectFullWidth(lines[1]);
    EXPECT_EQ(lines[2], Filled(123, L"\"C:\\Program Files\\Vantaro\\Trelvane 7\""));
    EXPECT_EQ(lines[3], Filled(124, L"\"C:\\Start\\Vantaro\\Trelvane 7\""));
    EXPECT_EQ(lines[4], English(125));
    EXPECT_EQ(lines[5], L"");
    EXPECT_EQ(::SendMessageW(edit_, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
}

TEST_F(InstallPage, WithoutShortcutsTheSummaryHasThreeLinesAndAFolderWithoutSpacesStaysBare)
{
    app_.InstallFolder = L"D:\\Trelvane";
    app_.CreateStartMenuShortcut = false;
    app_.CreateDesktopShortcut = false;
    page_.UpdateData(FALSE);
    const std::vector<std::wstring> lines = Lines(Text());
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2], Filled(123, L"D:\\Trelvane"));
}

TEST_F(InstallPage, AStartMenuFolderWithoutSpacesStaysBareAsTheFolderDoes)
{
    app_.InstallFolder = L"D:\\Trelvane";
    app_.StartMenuFolder = L"D:\\Menu\\Trelvane";
    app_.CreateDesktopShortcut = false;
    page_.UpdateData(FALSE);
    const std::vector<std::wstring> lines = Lines(Text());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[2], Filled(123, L"D:\\Trelvane"));
    EXPECT_EQ(lines[3], Filled(124, L"D:\\Menu\\Trelvane"));
}

TEST_F(InstallPage, TheRunsDashLineIsAsWideAsTheControlAllowsAtEveryWidth)
{
    for (int extra : {0, 37, 151}) {
        SCOPED_TRACE(extra);
        RECT r{};
        ::GetWindowRect(edit_, &r);
        ::SetWindowPos(edit_, nullptr, 0, 0, r.right - r.left + extra, r.bottom - r.top,
                       SWP_NOMOVE | SWP_NOZORDER);
        page_.UpdateData(FALSE);
        page_.AppendProgressText(L"", true);
        const std::vector<std::wstring> lines = Lines(Text());
        ASSERT_GE(lines.size(), 2u);
        const std::wstring& dashes = lines[lines.size() - 2];
        EXPECT_EQ(dashes.find_first_not_of(L'-'), std::wstring::npos) << dashes;
        ExpectFullWidth(dashes);
    }
}

TEST_F(InstallPage, BarIsHiddenUntilARunAndTheRecordOfASuccessIsKept)
{
    HWND bar = ::GetDlgItem(page_, IDC_PROGRESS);
    EXPECT_FALSE(::IsWindowVisible(bar) || (::GetWindowLongW(bar, GWL_STYLE) & WS_VISIBLE));
    PBRANGE range{};
    ::SendMessageW(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);

    page_.UpdateData(FALSE);
    page_.AppendProgressText(L"record\r\n");
    const std::wstring record = Text();
    app_.InstallSucceeded = true;
    page_.UpdateData(FALSE);
    EXPECT_EQ(Text(), record);
    app_.InstallSucceeded = false;
    page_.UpdateData(FALSE);
    EXPECT_NE(Text(), record) << "before a success each arrival rebuilds the summary";
}

}  // namespace
}  // namespace va::test
