#include "wizard/core/about_entry.h"

namespace va {

std::wstring AboutMenuEntry(const std::wstring& about, bool rightToLeft)
{
    if (rightToLeft)
        return L"..." + about;
    return L"&" + about + L"...";
}

}  // namespace va
