#include "wizard/core/page_area.h"

#include <algorithm>

namespace va {

PageArea FitPages(const Box& area, const std::vector<Size>& pages) noexcept
{
    PageArea result;
    result.pages = area;
    for (const Size& page : pages) {
        // An empty rectangle adds nothing to a union.
        if (page.width <= 0 || page.height <= 0)
            continue;
        result.pages.right = std::max(result.pages.right, area.left + page.width);
        result.pages.bottom = std::max(result.pages.bottom, area.top + page.height);
    }
    result.dx = result.pages.Width() - area.Width();
    result.dy = result.pages.Height() - area.Height();
    return result;
}

}  // namespace va
