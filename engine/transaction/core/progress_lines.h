#pragma once
// The progress text cut into whole lines for a text log: the steps append a
// line in pieces ("Preparing Installation..." then "OK" and CR LF), and the
// log writes each line once it is complete.

#include <string>
#include <vector>

namespace va {

// How many characters a banner line takes in a text log.
inline constexpr int kLogBannerWidth = 72;

// The banner line of `text` for a text log: as the page lays it out, with
// characters for widths.
std::wstring LogBannerLine(const std::wstring& text);

class ProgressLines {
public:
    // The lines `text` completes, without their CR LF, in order.
    std::vector<std::wstring> Append(const std::wstring& text);
    // The start of a line still waiting for its end.
    const std::wstring& Pending() const noexcept { return pending_; }
    // The pending text as a line of its own (a run that ends mid-line).
    std::wstring TakePending();

private:
    std::wstring pending_;
};

}  // namespace va
