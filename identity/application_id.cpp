#include "identity/application_id.h"

#include "identity/version_info.h"
#include "support/core/file_stem.h"

namespace va {

std::wstring DetermineApplicationId()
{
    const VersionInfo& own = VersionInfo::OfRunningProgram();
    std::wstring id = own.StringValue(L"ApplicationId");
    if (id.empty())
        id = own.StringValue(L"ProductName");
    if (!id.empty())
        return id;
    return FileStem(ProgramPath());
}

}  // namespace va
