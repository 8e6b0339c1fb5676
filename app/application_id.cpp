#include "app/application_id.h"

#include <windows.h>

#include "app/version_info.h"

namespace va {

std::wstring ProgramPath()
{
    // The start-up code of this runtime records no program path of its own.
    wchar_t buffer[260] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer, 260);
    return std::wstring(buffer, length < 260 ? length : 259);
}

std::wstring DetermineApplicationId()
{
    const VersionInfo& own = VersionInfo::OfRunningProgram();
    std::wstring id = own.StringValue(L"ApplicationId");
    if (id.empty())
        id = own.StringValue(L"ProductName");
    if (!id.empty())
        return id;

    const std::wstring path = ProgramPath();
    const size_t slash = path.find_last_of(L"\\/");
    std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
    const size_t dot = name.find_last_of(L'.');
    if (dot != std::wstring::npos)
        name.erase(dot);
    return name;
}

}  // namespace va
