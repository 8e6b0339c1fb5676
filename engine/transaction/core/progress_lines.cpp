#include "engine/transaction/core/progress_lines.h"

#include <utility>

#include "engine/transaction/core/banner_line.h"

namespace va {

std::wstring LogBannerLine(const std::wstring& text)
{
    return BannerLine(text, kLogBannerWidth, static_cast<int>(BannerWords(text).size()), 1);
}

std::vector<std::wstring> ProgressLines::Append(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    pending_ += text;
    for (std::size_t end; (end = pending_.find(L"\r\n")) != std::wstring::npos;) {
        lines.push_back(pending_.substr(0, end));
        pending_.erase(0, end + 2);
    }
    return lines;
}

std::wstring ProgressLines::TakePending()
{
    return std::exchange(pending_, std::wstring());
}

}  // namespace va
