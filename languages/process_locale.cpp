#include "languages/process_locale.h"

#include <windows.h>

#include <clocale>
#include <locale>
#include <string>

namespace va {

bool SetUpProcessLocale()
{
    _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);

    wchar_t name[85] = {};
    const int length = ::LCIDToLocaleName(LOCALE_USER_DEFAULT, name, 85, 0);
    std::string narrow;
    for (int i = 0; i < length && name[i]; ++i)
        narrow.push_back(static_cast<char>(name[i]));

    try {
        std::locale::global(std::locale(narrow.c_str()));
    } catch (const std::exception&) {
        try {
            std::locale::global(std::locale(""));
        } catch (const std::exception&) {
            // Neither could be made: the current global locale stays.
        }
    }
    return std::has_facet<std::ctype<char>>(std::locale());
}

}  // namespace va
