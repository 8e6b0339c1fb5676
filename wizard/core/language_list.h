#pragma once
// The languages the Start page offers, in their order, and the flag icon of
// each language.

#include <array>

#include "languages/core/language_table.h"

namespace va {

// Danish, Bulgarian, Czech, Norwegian and Japanese are never offered.
inline constexpr std::array<LanguageIndex, 15> kOfferedLanguages = {0, 1, 2, 3, 11, 4, 5, 15, 14, 7, 9, 10, 16, 17, 19};

// The icon resource of the language's flag; the French flag for an index
// outside the table.
int FlagIconOf(LanguageIndex index) noexcept;

}  // namespace va
