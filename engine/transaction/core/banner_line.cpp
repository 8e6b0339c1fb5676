#include "engine/transaction/core/banner_line.h"

namespace va {

std::wstring BannerWords(const std::wstring& text)
{
    return text.empty() ? std::wstring() : L" " + text + L" ";
}

std::wstring BannerLine(const std::wstring& text, int available, int wordsWidth, int dashWidth)
{
    const int room = available - wordsWidth;
    const int count = dashWidth > 0 && room > 0 ? room / dashWidth : 0;
    const auto before = static_cast<std::size_t>(count / 2);
    const auto after = static_cast<std::size_t>((count + 1) / 2);
    return std::wstring(before, L'-') + BannerWords(text) + std::wstring(after, L'-') + L"\r\n";
}

}  // namespace va
