#include "support/core/path_compare.h"

#include <cstddef>

#include "support/core/path_text.h"

namespace va {
namespace {

// Walks the components of a path.
class Components {
public:
    explicit Components(std::wstring_view path) : path_(path)
    {
        while (pos_ < path_.size() && IsPathSeparator(path_[pos_]))
            ++pos_;
        leadingSeparators_ = pos_ < 2 ? pos_ : 2;
    }

    std::size_t LeadingSeparators() const { return leadingSeparators_; }

    // The next component, or an empty view at the end.
    std::wstring_view Next()
    {
        std::size_t begin = pos_;
        while (pos_ < path_.size() && !IsPathSeparator(path_[pos_]))
            ++pos_;
        std::wstring_view part = path_.substr(begin, pos_ - begin);
        while (pos_ < path_.size() && IsPathSeparator(path_[pos_]))
            ++pos_;
        return part;
    }

private:
    std::wstring_view path_;
    std::size_t pos_ = 0;
    std::size_t leadingSeparators_ = 0;
};

}  // namespace

bool PathsEqualLexically(std::wstring_view a, std::wstring_view b)
{
    Components ca(a);
    Components cb(b);
    if (ca.LeadingSeparators() != cb.LeadingSeparators())
        return false;
    for (;;) {
        std::wstring_view pa = ca.Next();
        std::wstring_view pb = cb.Next();
        if (pa != pb)
            return false;
        if (pa.empty())
            return true;
    }
}

wchar_t FoldPathCase(wchar_t c) noexcept
{
    if (c >= L'A' && c <= L'Z')
        return static_cast<wchar_t>(c + 32);
    if (c < 0xC0)
        return c;
    if (c <= 0xDE)
        return c == 0xD7 ? c : static_cast<wchar_t>(c + 32);
    if (c == 0x130)
        return L'i';  // capital I with dot
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return static_cast<wchar_t>(c | 1);
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? static_cast<wchar_t>(c + 1) : c;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x391 && c <= 0x3AB && c != 0x3A2)
        return static_cast<wchar_t>(c + 32);
    if (c >= 0x410 && c <= 0x42F)
        return static_cast<wchar_t>(c + 32);
    if (c >= 0x400 && c <= 0x40F)
        return static_cast<wchar_t>(c + 80);
    return c;
}

std::wstring FoldedPathText(std::wstring_view text)
{
    std::wstring folded(text);
    for (wchar_t& c : folded)
        c = FoldPathCase(c);
    return folded;
}

bool SameNameIgnoringCase(std::wstring_view a, std::wstring_view b) noexcept
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldPathCase(a[i]) != FoldPathCase(b[i]))
            return false;
    return true;
}

}  // namespace va
