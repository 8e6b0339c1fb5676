#include "engine/placement/core/placement_policy.h"

#include "identity/core/install_kind.h"
#include "engine/package/core/package_format.h"

namespace va {

PlacementDecision decide_placement(std::uint32_t entryKind, std::int32_t installKind, bool fileExists,
                                   bool keptDataFile) noexcept
{
    PlacementDecision d;
    switch (entryKind) {
    case MainProgram:
        d.mainProgram = true;
        break;
    case Uninstaller:
        d.uninstaller = true;
        break;
    case UserData:
        d.copy = true;
        d.grantAtEnd = true;
        if (installKind != Fresh && keptDataFile)
            d.action = PlacementAction::keep_granting;
        else if (fileExists)
            d.action = PlacementAction::record_and_keep;
        break;
    case SampleOrTexture:
        if (installKind == Update)
            d.action = PlacementAction::keep;
        break;
    case DirectXSetupFile:
        d.journal = false;
        d.temporary = true;
        break;
    default:
        break;
    }
    if (d.action == PlacementAction::keep || d.action == PlacementAction::keep_granting)
        d.journal = false;
    return d;
}

}  // namespace va
