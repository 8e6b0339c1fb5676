#include "languages/core/language_table.h"

namespace va {
namespace {

// Blocks follow the order of the string tables, not the order of the indices.
constexpr LanguageRow kRows[kLanguageCount] = {
    {1036, 0x0C, 1000, true, true},    //  0 French
    {1033, 0x09, 2000, true, true},    //  1 English (also every unmatched language)
    {1031, 0x07, 3000, true, true},    //  2 German
    {3082, 0x0A, 4000, true, true},    //  3 Spanish
    {2070, 0x16, 5000, true, true},    //  4 Portuguese
    {1043, 0x13, 7000, true, false},   //  5 Dutch
    {1030, 0x06, 8000, false, false},  //  6 Danish
    {1055, 0x1F, 9000, true, true},    //  7 Turkish
    {1026, 0x02, 11000, false, false}, //  8 Bulgarian
    {1048, 0x18, 12000, true, true},   //  9 Romanian
    {2052, 0x04, 10000, true, false},  // 10 Chinese (simplified)
    {1040, 0x10, 6000, true, true},    // 11 Italian
    {1029, 0x05, 13000, false, false}, // 12 Czech
    {1044, 0x14, 14000, false, false}, // 13 Norwegian
    {1032, 0x08, 15000, true, false},  // 14 Greek
    {1045, 0x15, 16000, true, false},  // 15 Polish
    {1037, 0x0D, 17000, true, false},  // 16 Hebrew
    {1066, 0x2A, 18000, true, false},  // 17 Vietnamese
    {1041, 0x11, 19000, false, false}, // 18 Japanese
    {1038, 0x0E, 20000, true, false},  // 19 Hungarian
};

constexpr bool ProductFlagsMatchMask()
{
    std::uint32_t mask = 0;
    for (LanguageIndex i = 0; i < kLanguageCount; ++i)
        if (kRows[i].product)
            mask |= 1u << i;
    return mask == kProductLanguageMask;
}
static_assert(ProductFlagsMatchMask());

constexpr std::uint16_t kChinese = 0x04;

}  // namespace

const LanguageRow* LanguageRowOf(LanguageIndex index) noexcept
{
    if (index < 0 || index >= kLanguageCount)
        return nullptr;
    return &kRows[index];
}

std::uint16_t LanguageLcid(LanguageIndex index) noexcept
{
    const LanguageRow* row = LanguageRowOf(index);
    return row ? row->languageId : kRows[kFrench].languageId;
}

bool IsProductLanguage(LanguageIndex index) noexcept
{
    const LanguageRow* row = LanguageRowOf(index);
    return row && row->product;
}

bool IsInstallerTranslated(LanguageIndex index) noexcept
{
    const LanguageRow* row = LanguageRowOf(index);
    return !row || row->installer;
}

unsigned StringOffset(LanguageIndex index) noexcept
{
    const LanguageRow* row = LanguageRowOf(index);
    return row ? row->stringBlock - kFrenchStringBase : 0;
}

LanguageIndex LanguageOfLanguageId(std::uint16_t languageId) noexcept
{
    const std::uint16_t primary = PrimaryLanguage(languageId);
    for (LanguageIndex i = 0; i < kLanguageCount; ++i) {
        if (kRows[i].primary != primary)
            continue;
        if (primary == kChinese) {
            const std::uint16_t sub = SubLanguage(languageId);
            if (sub != 2 && sub != 4)
                return -1;
        }
        return i;
    }
    return -1;
}

LanguageIndex LanguageFromLanguageId(std::uint16_t languageId, std::uint32_t mask) noexcept
{
    const LanguageIndex fallback = (mask & 2u) ? kEnglish : kFrench;
    const LanguageIndex found = LanguageOfLanguageId(languageId);
    if (found < 0)
        return fallback;
    return (mask >> found) & 1u ? found : fallback;
}

std::uint32_t LocaleIdentifierFor(LanguageIndex index, std::uint32_t userDefaultLcid) noexcept
{
    const std::uint16_t own = LanguageLcid(index);
    return (userDefaultLcid & 0xFFFF) == own ? userDefaultLcid : own;
}

unsigned ResolveInstallerString(unsigned frenchId, LanguageIndex index, const StringLoader& load)
{
    const unsigned english = frenchId + StringOffset(kEnglish);
    unsigned candidate;
    bool countsAsEnglish;
    if (!IsInstallerTranslated(index)) {
        candidate = english;
        countsAsEnglish = true;
    } else {
        if (index == kFrench)
            return frenchId;
        candidate = frenchId + StringOffset(index);
        countsAsEnglish = index == kEnglish;
    }

    if (load(candidate) != kUntranslated)
        return candidate;
    if (countsAsEnglish)
        return frenchId;
    return load(english) != kUntranslated ? english : frenchId;
}

}  // namespace va
