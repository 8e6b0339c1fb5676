#include "support/thread_ansi.h"

#include <windows.h>

namespace va {

std::wstring DecodeThreadAnsi(std::string_view bytes)
{
    if (bytes.empty())
        return {};
    const int size = static_cast<int>(bytes.size());
    const int needed = ::MultiByteToWideChar(CP_THREAD_ACP, MB_PRECOMPOSED, bytes.data(), size, nullptr, 0);
    if (needed <= 0)
        return {};
    std::wstring text(static_cast<std::size_t>(needed), L'\0');
    const int made = ::MultiByteToWideChar(CP_THREAD_ACP, MB_PRECOMPOSED, bytes.data(), size, text.data(), needed);
    text.resize(made > 0 ? static_cast<std::size_t>(made) : 0);
    return text;
}

}  // namespace va
