#pragma once
// The text shown for a program's version, from the values of its version
// resource.

#include <cstdint>
#include <string>

namespace va {

// Version-resource file flags that change the text.
inline constexpr std::uint32_t kFileFlagDebug = 0x1;       // VS_FF_DEBUG
inline constexpr std::uint32_t kFileFlagPrerelease = 0x2;  // VS_FF_PRERELEASE
inline constexpr std::uint32_t kFileFlagPrivate = 0x8;     // VS_FF_PRIVATEBUILD

// `flags` is dwFileFlags AND dwFileFlagsMask.  A pre-release keeps the French
// spelling "bêta" only under a French interface.
std::wstring ComposeDisplayText(const std::wstring& productName, const std::wstring& productVersion,
                                std::uint32_t flags, bool frenchInterface);

}  // namespace va
