#pragma once
// The interface language of the process: which one is current, its locale,
// and the string identifiers of the installer's messages in it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "languages/core/language_table.h"

namespace va {

struct LanguageState {
    std::uint32_t Mask = 1;           // default mask of LanguageFromUserDefault
    LanguageIndex Index = kFrench;    // current interface language
    LCID Lcid = 1036;                 // locale identifier of the current language
    std::uint32_t CodePage = 1252;    // its ANSI code page
    HMODULE ResourceModule = nullptr; // module of the language resources; none: the program
    bool RightToLeft = false;
};

// The process's state, created on first use (which applies French's locale
// and makes it the thread locale).
LanguageState& CurrentLanguage();

// The user's default language as an interface language; mask 0 means the
// state's Mask.  `userDefault` stands in for GetUserDefaultLangID.
using UserLanguageQuery = std::function<LANGID()>;
LanguageIndex LanguageFromUserDefault(std::uint32_t mask = 0, const UserLanguageQuery& userDefault = {});

// Makes `index` current: locale (when it changes), locale identifier, code
// page and reading direction.  The thread locale stays as it is.
void SetLanguage(LanguageIndex index);

// From the language's font signature; Hebrew only when the system cannot say.
bool IsRightToLeft(LanguageIndex index);

// The identifier to load for French string `frenchId` (1000 + message) in
// the current language, falling back to English and then French.
UINT InstallerString(UINT frenchId);
// The text of message `message` in the current language.
std::wstring InstallerMessage(unsigned message);

// The localised word for the installer; with the product, followed by " – "
// and the product's name and version.
std::wstring InstallerTitle(bool withProduct);

// The language's own name, starting with a capital letter.
std::wstring LanguageNativeName(LanguageIndex index);

// The user picked `index`: make it current; a language without installer
// texts is explained (message 129) and English is used instead.  Then the
// application title and the wizard follow.
void ChangeLanguage(LanguageIndex index);

// Filled by the application object: takes the new application title.
void SetApplicationTitleHook(std::function<void(const std::wstring& title)> hook);
// Filled by the wizard host: reloads every text of the wizard.
void SetWizardRelabelHook(std::function<void()> hook);

// Gives the support library's message boxes the language facts and the
// program's version text they cannot reach themselves.
void RegisterMessageFacts();

}  // namespace va
