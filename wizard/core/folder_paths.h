#pragma once
// The folder browser's rules for its proposal, apart from any window: how
// the proposal keeps its suffix, and how it is shown relative to the
// parent of the browser's root.  Each works in the shell's 260-character
// buffers: a text that does not fit is left alone by the rule that needed
// the buffer.

#include <optional>
#include <string>

namespace va {

// The number of components of `tail` when it matches the end of `path` (case
// ignored) with at least one component of `path` before it; otherwise 0.
int MatchTail(const std::wstring& path, const std::wstring& tail);

// The suffix the browser keeps, or empty when `suffix` holds a character a
// path cannot hold or a wildcard; trailing dots are dropped.
std::wstring UsableSuffix(const std::wstring& suffix);

// `current` ending with `suffix`: only the part of a multi-level suffix that
// `current` lacks is appended.  With `rootBase`, the result is then made
// relative to it when the two can be related.  An empty suffix leaves
// `current` as it is.
std::wstring Normalise(const std::wstring& current, const std::wstring& suffix,
                       const std::optional<std::wstring>& rootBase);

// `current` less its trailing suffix components; `current` when it does not
// end with the suffix.
std::wstring WithoutSuffix(const std::wstring& current, const std::wstring& suffix);

// `folder` relative to the folder `base` ("" for `base` itself, no leading
// ".\"); nothing when the two cannot be related (other drives) or `folder`
// lies outside `base`.
std::optional<std::wstring> RelativeFolder(const std::wstring& base, const std::wstring& folder);

}  // namespace va
