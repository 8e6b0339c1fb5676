#include "engine/journal/core/path_compare.h"

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

}  // namespace va
