// Compares this program's own identity with its arguments: exit code 0 when
// the application identity is argument 1 and the display text of its own
// version is argument 2, 1 when not, 2 without arguments.

#include <string>

#include "identity/application_id.h"
#include "identity/version_info.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc < 3)
        return 2;
    const bool same = va::DetermineApplicationId() == argv[1] &&
                      va::VersionInfo::OfRunningProgram().DisplayText(false) == argv[2];
    return same ? 0 : 1;
}
