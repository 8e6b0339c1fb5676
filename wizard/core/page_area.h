#pragma once
// The host's page area: every page fills the same rectangle, as large as the
// largest page and never smaller than the area the host's template leaves.

#include <vector>

namespace va {

struct Box {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const noexcept { return right - left; }
    int Height() const noexcept { return bottom - top; }
    friend bool operator==(const Box&, const Box&) = default;
};

struct Size {
    int width = 0;
    int height = 0;
};

struct PageArea {
    Box pages;  // where every page goes
    int dx = 0; // how much wider the host becomes
    int dy = 0; // how much taller
};

// `area`: the room the template leaves for the pages; `pages`: the pages'
// own sizes, each placed at the area's top-left corner.
PageArea FitPages(const Box& area, const std::vector<Size>& pages) noexcept;

}  // namespace va
