// Wide text as UTF-8, the encoding of the run log.
#pragma once

#include <string>

namespace va {

std::string Utf8(const std::wstring& text);

}  // namespace va
