#include <gtest/gtest.h>

#include "identity/core/install_kind.h"
#include "engine/placement/core/placement_policy.h"

namespace {

using va::PlacementAction;

struct Expect {
    PlacementAction action;
    bool journal;
    bool copy;
};

// The expected row for one combination, written from the policy's table.
Expect Row(std::uint32_t kind, std::int32_t install, bool exists, bool kept)
{
    switch (kind) {
    case 3:
        if (install != va::Fresh && kept)
            return {PlacementAction::keep_granting, false, true};
        if (!exists)
            return {PlacementAction::place, true, true};
        return {PlacementAction::record_and_keep, true, true};
    case 4:
        if (install == va::Update)
            return {PlacementAction::keep, false, false};
        return {PlacementAction::place, true, false};
    case 5:
        return {PlacementAction::place, false, false};
    default:
        return {PlacementAction::place, true, false};
    }
}

}  // namespace

TEST(PlacementPolicy, EveryKindInstallKindAndFileState)
{
    for (std::uint32_t kind : {0u, 1u, 2u, 3u, 4u, 5u, 6u, 0xFFFFFFFFu})
        for (std::int32_t install : {va::Fresh, va::Reinstall, va::Update})
            for (bool exists : {false, true})
                for (bool kept : {false, true}) {
                    const va::PlacementDecision d = va::decide_placement(kind, install, exists, kept);
                    const Expect e = Row(kind, install, exists, kept);
                    SCOPED_TRACE(testing::Message() << "kind " << kind << " install " << install << " exists "
                                                    << exists << " kept " << kept);
                    EXPECT_EQ(d.action, e.action);
                    EXPECT_EQ(d.journal, e.journal);
                    if (d.journal) {
                        EXPECT_EQ(d.copy, e.copy);
                    }
                    EXPECT_EQ(d.temporary, kind == 5);
                    EXPECT_EQ(d.grantAtEnd, kind == 3);
                    EXPECT_EQ(d.mainProgram, kind == 1);
                    EXPECT_EQ(d.uninstaller, kind == 2);
                }
}

TEST(PlacementPolicy, SpotChecks)
{
    // Fresh install over a data file left by an uninstallation: journalled copy, kept.
    EXPECT_EQ(va::decide_placement(3, va::Fresh, true, true).action, PlacementAction::record_and_keep);
    // A data file the previous log lists but that was deleted: still not written again.
    EXPECT_EQ(va::decide_placement(3, va::Update, false, true).action, PlacementAction::keep_granting);
    EXPECT_EQ(va::decide_placement(3, va::Reinstall, false, true).action, PlacementAction::keep_granting);
    // Reinstallation writes samples again; an update does not.
    EXPECT_EQ(va::decide_placement(4, va::Reinstall, true, false).action, PlacementAction::place);
    EXPECT_EQ(va::decide_placement(4, va::Update, false, false).action, PlacementAction::keep);
}
