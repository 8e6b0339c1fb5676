#include "support/utf8_text.h"

#include <windows.h>

namespace va {

std::string Utf8(const std::wstring& text)
{
    if (text.empty())
        return {};
    const int size = static_cast<int>(text.size());
    const int needed = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(needed > 0 ? needed : 0), '\0');
    if (needed > 0)
        ::WideCharToMultiByte(CP_UTF8, 0, text.data(), size, bytes.data(), needed, nullptr, nullptr);
    return bytes;
}

}  // namespace va
