#pragma once
// Comparing Windows paths as text, with the one letter-case rule every
// path comparison here uses.  No call to the file system.

#include <string>
#include <string_view>

namespace va {

// Component by component, characters compared exactly; the backslash and the
// slash both separate, runs of separators count as one and a trailing one is
// ignored.  A path that starts at a root differs from one that does not, and
// a "\\" server root from a "\" root.
bool PathsEqualLexically(std::wstring_view a, std::wstring_view b);

// The letter-case rule: a letter of the scripts folder names are written in
// here (Latin with Latin-1 and Extended-A, Greek, Cyrillic) folded to lower
// case, every other character as it is.
wchar_t FoldPathCase(wchar_t c) noexcept;

// The text with every character folded by that rule: a key under which
// paths differing only in letter case meet.
std::wstring FoldedPathText(std::wstring_view text);

// The same characters, letter case aside.
bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept;

}  // namespace va
