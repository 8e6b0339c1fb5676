#include "identity/core/registry_locations.h"

#include "identity/core/product.h"

namespace va {

std::wstring ProgramPathValueName()
{
    return ProductKey() + L" Path";
}

std::wstring UninstallKeyName()
{
    return std::wstring(kUninstallRoot) + L"\\" + ProductKey();
}

}  // namespace va
