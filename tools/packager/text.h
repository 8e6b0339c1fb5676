#pragma once
// UTF-8 (manifests, console) to the UTF-16 code units the package stores,
// one unit per wchar_t, and back.

#include <string>

namespace packager {

// Raises std::invalid_argument on malformed UTF-8.
std::wstring utf16_units(const std::string& utf8);
std::string utf8_of(const std::wstring& units);

}  // namespace packager
