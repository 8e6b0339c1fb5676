// The wizard's page order, its buttons and its exit rule, as tables.

#include <gtest/gtest.h>

#include "identity/core/install_kind.h"
#include "wizard/core/page_sequence.h"

namespace va {
namespace {

TEST(TargetPage, QuickInstallationPassesOverFolderAndShortcutInTheDirectionOfTravel)
{
    struct Case {
        int requested, current;
        bool advanced;
        int expected;
    };
    const Case cases[] = {
        {kStartPage, kNoPage, false, kStartPage},
        {kModePage, kStartPage, false, kModePage},
        {kFolderPage, kModePage, false, kInstallPage},    // Next on the Mode page
        {kShortcutPage, kInstallPage, false, kModePage},  // Back on the Install page
        {kFolderPage, kModePage, true, kFolderPage},
        {kShortcutPage, kFolderPage, true, kShortcutPage},
        {kInstallPage, kShortcutPage, true, kInstallPage},
        {kShortcutPage, kInstallPage, true, kShortcutPage},
        {kEndPage, kInstallPage, false, kEndPage},
        {kInstallPage, kEndPage, false, kInstallPage},
        // The same page again stays, even in a quick installation.
        {kFolderPage, kFolderPage, false, kFolderPage},
        {kInstallPage, kInstallPage, false, kInstallPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.requested << " from " << c.current << (c.advanced ? " advanced" : " quick"));
        EXPECT_EQ(TargetPage(c.requested, c.current, c.advanced), c.expected);
    }
}

TEST(HostButtons, FollowThePageAndTheInstallationsResult)
{
    using N = NextText;
    using E = ExitText;
    struct Case {
        int page;
        bool succeeded;
        HostButtons expected;
    };
    const Case cases[] = {
        {kStartPage, false, {false, true, N::Next, E::Cancel, 1}},
        {kModePage, false, {true, true, N::Next, E::Cancel, 1}},
        {kFolderPage, false, {true, true, N::Next, E::Cancel, 1}},
        {kShortcutPage, false, {true, true, N::Next, E::Cancel, 1}},
        {kInstallPage, false, {true, true, N::Install, E::Cancel, 1}},
        {kInstallPage, true, {false, true, N::Next, E::Exit, 1}},
        {kEndPage, true, {true, false, N::Next, E::Exit, 2}},
        // Before the first page: the texts of a page without installation.
        {kNoPage, false, {false, true, N::Next, E::Cancel, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "page " << c.page << (c.succeeded ? " after success" : ""));
        const HostButtons b = ButtonsFor(c.page, c.succeeded);
        EXPECT_EQ(b.backEnabled, c.expected.backEnabled);
        EXPECT_EQ(b.nextEnabled, c.expected.nextEnabled);
        EXPECT_EQ(b.next, c.expected.next);
        EXPECT_EQ(b.exit, c.expected.exit);
        EXPECT_EQ(b.defaultButton, c.expected.defaultButton);
    }
}

TEST(ExitAsksFirst, UnlessSucceededNewerInstalledOrAReinstallationStillOnTheStartPage)
{
    struct Case {
        bool succeeded;
        std::int32_t kind;
        int page;
        bool asks;
    };
    const Case cases[] = {
        {false, Fresh, kStartPage, true},          {false, Fresh, kInstallPage, true},
        {false, Update, kStartPage, true},         {false, Update, kModePage, true},
        {false, Reinstall, kStartPage, false},     {false, Reinstall, kModePage, true},
        {false, Reinstall, kInstallPage, true},    {false, NewerInstalled, kStartPage, false},
        {true, Fresh, kInstallPage, false},        {true, Reinstall, kEndPage, false},
        {false, 7, kStartPage, true},  // an unknown kind asks as an update would
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "kind " << c.kind << " page " << c.page << (c.succeeded ? " succeeded" : ""));
        EXPECT_EQ(ExitAsksFirst(c.succeeded, c.kind, c.page), c.asks);
    }
}

}  // namespace
}  // namespace va
