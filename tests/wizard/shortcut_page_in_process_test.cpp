// The Shortcut page inside the test, where the session can hold what the
// installer's start-up never gives it: the Start menu itself, a folder on
// another drive.

#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "installer/install_app.h"
#include "languages/languages.h"
#include "resources/installer_ids.h"
#include "tests/driver/driver.h"
#include "wizard/dlg_shortcut.h"

namespace va::test {
namespace {

class ShortcutPageInProcess : public testing::Test {
protected:
    void SetUp() override
    {
        parent_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr, nullptr, nullptr);
        if (!parent_)
            GTEST_SKIP() << "no window station: start Xvfb and set DISPLAY";
        SetLanguage(kEnglish);
        wchar_t root[MAX_PATH] = {};
        ASSERT_TRUE(::SHGetSpecialFolderPathW(nullptr, root, CSIDL_COMMON_STARTMENU, FALSE));
        root_ = root;
        app_.CreateStartMenuShortcut = true;
    }
    void TearDown() override
    {
        page_.reset();
        if (parent_)
            ::DestroyWindow(parent_);
    }

    // A new page, loaded from the session as the host loads it.
    HWND Open()
    {
        page_ = std::make_unique<CDlgShortcut>();
        EXPECT_TRUE(page_->Create(IDD_SHORTCUT_PAGE, parent_));
        return page_->GetSafeHwnd();
    }

    CInstallApp app_;
    HWND parent_ = nullptr;
    std::wstring root_;
    std::unique_ptr<CDlgShortcut> page_;
};

TEST_F(ShortcutPageInProcess, EachFolderIsShownSoThatSavingGivesItBack)
{
    const std::pair<std::wstring, std::wstring> cases[] = {
        {root_, L""},  // the Start menu itself: an empty text
        {root_ + L"\\Programs\\Maker\\Trelvane 7", L"Programs\\Maker\\Trelvane 7"},
        // Another drive has no relative text: the folder itself, not a
        // stale one.
        {L"Q:\\Menu\\Trelvane 7", L"Q:\\Menu\\Trelvane 7"},
    };
    for (const auto& [folder, text] : cases) {
        app_.StartMenuFolder = folder;
        HWND page = Open();
        ASSERT_NE(page, nullptr);
        EXPECT_EQ(ControlText(page, IDC_FOLDER), text) << folder;
        app_.StartMenuFolder = L"overwritten";
        EXPECT_TRUE(page_->UpdateData(TRUE));
        EXPECT_EQ(app_.StartMenuFolder, folder);
    }
}

TEST_F(ShortcutPageInProcess, ChoicesGoBothWaysAndTheFolderFollowsTheMenuChoice)
{
    app_.StartMenuFolder = root_ + L"\\Programs";
    app_.CreateStartMenuShortcut = false;
    app_.CreateDesktopShortcut = true;
    HWND page = Open();
    ASSERT_NE(page, nullptr);
    EXPECT_FALSE(IsControlChecked(page, IDC_MENU_SHORTCUT));
    EXPECT_TRUE(IsControlChecked(page, IDC_DESKTOP_SHORTCUT));
    EXPECT_FALSE(IsControlEnabled(page, IDC_FOLDER));
    EXPECT_FALSE(IsControlEnabled(page, IDC_BROWSE));

    ::SendMessageW(::GetDlgItem(page, IDC_MENU_SHORTCUT), BM_CLICK, 0, 0);
    ::SendMessageW(::GetDlgItem(page, IDC_DESKTOP_SHORTCUT), BM_CLICK, 0, 0);
    EXPECT_TRUE(IsControlEnabled(page, IDC_FOLDER));
    EXPECT_TRUE(IsControlEnabled(page, IDC_BROWSE));
    EXPECT_TRUE(page_->UpdateData(TRUE));
    EXPECT_TRUE(app_.CreateStartMenuShortcut);
    EXPECT_FALSE(app_.CreateDesktopShortcut);
    EXPECT_EQ(app_.StartMenuFolder, root_ + L"\\Programs");
}

}  // namespace
}  // namespace va::test
