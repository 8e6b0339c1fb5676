#pragma once
// The interface languages and the numbering of the installer's messages.
// Pure data and arithmetic: the Windows calls live in languages.h.

#include <cstdint>
#include <functional>
#include <string>

namespace va {

using LanguageIndex = int;

inline constexpr LanguageIndex kLanguageCount = 20;
inline constexpr LanguageIndex kFrench = 0;
inline constexpr LanguageIndex kEnglish = 1;
inline constexpr LanguageIndex kHebrew = 16;

// Languages the product itself ships in, one bit per index.
inline constexpr std::uint32_t kProductLanguageMask = 0xBCEBF;

// Message n is string kFrenchStringBase + n in French.
inline constexpr unsigned kFrenchStringBase = 1000;
inline constexpr const wchar_t* kUntranslated = L"#";

struct LanguageRow {
    std::uint16_t languageId;   // Windows language identifier
    std::uint16_t primary;      // primary language matched against the user's default
    unsigned stringBlock;       // first identifier of the language's block of strings
    bool product;
    bool installer;
};

// The row of an index; nullptr outside 0 to 19.
const LanguageRow* LanguageRowOf(LanguageIndex index) noexcept;

// 1036 outside 0 to 19.
std::uint16_t LanguageLcid(LanguageIndex index) noexcept;
bool IsProductLanguage(LanguageIndex index) noexcept;
// True outside 0 to 19.
bool IsInstallerTranslated(LanguageIndex index) noexcept;

// What is added to a French string identifier to reach the same message in
// the language's block; 0 outside 0 to 19.
unsigned StringOffset(LanguageIndex index) noexcept;

constexpr std::uint16_t PrimaryLanguage(std::uint32_t languageId) noexcept
{
    return static_cast<std::uint16_t>(languageId & 0x3FF);
}
constexpr std::uint16_t SubLanguage(std::uint32_t languageId) noexcept
{
    return static_cast<std::uint16_t>((languageId >> 10) & 0x3F);
}

// The row matching a user's language identifier, or -1.  Chinese matches
// only the simplified sub-languages (2 and 4).
LanguageIndex LanguageOfLanguageId(std::uint16_t languageId) noexcept;

// The interface language for a user's language identifier: its row when the
// mask admits it, otherwise English when bit 1 of the mask is set, else French.
LanguageIndex LanguageFromLanguageId(std::uint16_t languageId, std::uint32_t mask) noexcept;

// The locale identifier used for an index: the user's own when it names the
// same language and region, else the table's.
std::uint32_t LocaleIdentifierFor(LanguageIndex index, std::uint32_t userDefaultLcid) noexcept;

// Whether the locale name of the user's default locale stands for locale
// `lcid`: both share their primary language.
constexpr bool UsesUserLocaleName(std::uint16_t userLanguageId, std::uint32_t lcid) noexcept
{
    return PrimaryLanguage(userLanguageId) == PrimaryLanguage(lcid);
}

// The identifier to load for French string `frenchId` in language `index`,
// falling back to English and then French when a text is "#".  `load`
// returns the text of an identifier (empty when missing).
using StringLoader = std::function<std::wstring(unsigned id)>;
unsigned ResolveInstallerString(unsigned frenchId, LanguageIndex index, const StringLoader& load);

}  // namespace va
