#pragma once
// The product this installer installs, and its family's product table.

#include <cstdint>
#include <string>

#include "identity/core/product_version.h"

namespace va {

inline constexpr const wchar_t* kProductName = L"Trelvane";
inline constexpr const wchar_t* kProductVersionText = L"7.08g";
inline constexpr const wchar_t* kProductVersionString = L"7.8.7.1";
inline constexpr ProductVersion kThisProductVersion = PackVersion(7, 8, 7, 1);
inline constexpr std::uint32_t kThisProductCode = 0x307;
inline constexpr const wchar_t* kMakerName = L"Vantaro";

// "Trelvane", or "Trelvane 7.08g" with the version.
std::wstring ProductDisplayName(bool withVersion);

// Registry key and folder name of a product; raises std::logic_error for a
// code the table does not name.
std::wstring ProductKeyOf(std::uint32_t productCode);
// ProductKeyOf(kThisProductCode): this product's, which the table names.
std::wstring ProductKey();

}  // namespace va
