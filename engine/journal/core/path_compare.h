#pragma once
// Lexical comparison of Windows paths.

#include <string_view>

namespace va {

// Component by component, characters compared exactly; the backslash and the
// slash both separate, runs of separators count as one and a trailing one is
// ignored.  A path that starts at a root differs from one that does not, and
// a "\\" server root from a "\" root.
bool PathsEqualLexically(std::wstring_view a, std::wstring_view b);

}  // namespace va
