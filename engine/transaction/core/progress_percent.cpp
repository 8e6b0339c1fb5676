#include "engine/transaction/core/progress_percent.h"

#include <cmath>

namespace va {

int ProgressPercent(std::uint64_t done, std::uint64_t total) noexcept
{
    if (total == 0)
        return 0;
    const double exact = static_cast<double>(done) / static_cast<double>(total) * 100.0 + 0.5;
    int percent = static_cast<int>(std::floor(exact));
    if (percent > 100)
        percent = 100;  // more bytes than announced: the reader fails the run, the bar stays full
    if (percent == 100 && done < total)
        percent = 99;
    return percent;
}

}  // namespace va
