#include "support/format_message.h"

#include <windows.h>

#include "support/handles.h"

namespace va {

std::wstring FormatInserts(const std::wstring& pattern, const std::vector<std::wstring>& inserts)
{
    if (pattern.empty())
        return {};
    // FormatMessageW reads as many arguments as the pattern names, up to 99:
    // give it that many so a text with more inserts than values cannot make
    // it read past the array.
    static const wchar_t empty[] = L"";
    DWORD_PTR arguments[99];
    for (size_t i = 0; i < 99; ++i)
        arguments[i] = reinterpret_cast<DWORD_PTR>(i < inserts.size() ? inserts[i].c_str() : empty);

    // FormatMessageW reports an empty result as a failure: a closing mark
    // keeps the result from ever being empty.
    constexpr wchar_t kMark = L'\x1';
    const std::wstring marked = pattern + kMark;
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY | FORMAT_MESSAGE_ALLOCATE_BUFFER,
        marked.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&buffer), 0, reinterpret_cast<va_list*>(arguments));
    UniqueLocal owner(buffer);
    if (length == 0 || !buffer)
        return pattern;
    std::wstring text(buffer, length);
    if (!text.empty() && text.back() == kMark)
        text.pop_back();
    return text;
}

}  // namespace va
