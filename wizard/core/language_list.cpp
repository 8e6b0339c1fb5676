#include "wizard/core/language_list.h"

namespace va {

int FlagIconOf(LanguageIndex index) noexcept
{
    // By LanguageIndex.  There is no icon 159.
    static constexpr std::array<int, 20> kIcons = {144, 145, 141, 143, 148, 147, 142, 149, 150, 151,
                                                   152, 146, 153, 154, 155, 156, 157, 158, 160, 161};
    constexpr int kFrenchFlag = 144;
    if (index < 0 || index >= static_cast<LanguageIndex>(kIcons.size()))
        return kFrenchFlag;
    return kIcons[static_cast<size_t>(index)];
}

}  // namespace va
