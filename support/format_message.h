#pragma once
// Inserts "%1", "%2", ... filled the way FormatMessageW fills them.

#include <string>
#include <vector>

namespace va {

// `pattern` with its inserts replaced by `inserts` (an insert without a value
// becomes empty).  A pattern FormatMessageW rejects is returned unchanged.
std::wstring FormatInserts(const std::wstring& pattern, const std::vector<std::wstring>& inserts);

}  // namespace va
