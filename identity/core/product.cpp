#include "identity/core/product.h"

#include <stdexcept>

namespace va {

std::wstring ProductDisplayName(bool withVersion)
{
    std::wstring name = kProductName;
    if (withVersion)
        name += std::wstring(L" ") + kProductVersionText;
    return name;
}

std::wstring ProductKeyOf(std::uint32_t productCode)
{
    switch (productCode) {
    case 0x306:
        return L"Trelvane 6";
    case 0x307:
        return L"Trelvane 7";
    default:
        // 0, 0x304, 0x305 and every code outside the family have no key.
        throw std::logic_error("logic error");
    }
}

std::wstring ProductKey()
{
    return ProductKeyOf(kThisProductCode);
}

}  // namespace va
