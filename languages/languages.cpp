#include "languages/languages.h"

#include <clocale>
#include <locale>
#include <utility>

#include "identity/core/product.h"
#include "identity/version_info.h"
#include "languages/core/message_numbers.h"
#include "languages/version_text.h"
#include "support/format_message.h"
#include "support/message_box.h"
#include "support/message_hooks.h"
#include "support/resource_string.h"

namespace va {
namespace {

std::string LocaleNameOf(LCID lcid)
{
    wchar_t name[85] = {};
    const int length = ::LCIDToLocaleName(lcid, name, 85, 0);
    std::string narrow;
    // Locale names are ASCII: narrowing character by character is exact.
    for (int i = 0; i < length && name[i]; ++i)
        narrow.push_back(static_cast<char>(name[i]));
    return narrow;
}

void ApplyLocale(LanguageIndex index)
{
    const LCID lcid = LocaleIdentifierFor(index, ::GetUserDefaultLCID());
    const std::string name =
        LocaleNameOf(UsesUserLocaleName(::GetUserDefaultLangID(), lcid) ? LOCALE_USER_DEFAULT : lcid);

    std::locale named;
    try {
        named = std::locale(name.c_str());
    } catch (const std::exception&) {
        try {
            named = std::locale("");
        } catch (const std::exception&) {
            // Neither can be made: the categories stay as they are.
        }
    }
    std::locale::global(std::locale(std::locale(), named,
                                    std::locale::collate | std::locale::ctype | std::locale::monetary |
                                        std::locale::time));

    // Numbers formatted by the runtime keep the "C" conventions.
    std::setlocale(LC_ALL, "C");
    std::setlocale(LC_CTYPE, name.c_str());
    std::setlocale(LC_COLLATE, name.c_str());
    std::setlocale(LC_TIME, name.c_str());
    std::setlocale(LC_MONETARY, name.c_str());
}

LanguageState CreateState()
{
    LanguageState state;
    state.Lcid = LocaleIdentifierFor(kFrench, ::GetUserDefaultLCID());
    _configthreadlocale(_ENABLE_PER_THREAD_LOCALE);
    ApplyLocale(kFrench);
    ::SetThreadLocale(state.Lcid);
    return state;
}

HMODULE StringModule()
{
    HMODULE module = CurrentLanguage().ResourceModule;
    return module ? module : ::GetModuleHandleW(nullptr);
}

struct LanguageHooks {
    std::function<void(const std::wstring&)> applicationTitle;
    std::function<void()> wizardRelabel;
};

LanguageHooks& Hooks()
{
    static LanguageHooks hooks;
    return hooks;
}

}  // namespace

LanguageState& CurrentLanguage()
{
    static LanguageState state = CreateState();
    return state;
}

LanguageIndex LanguageFromUserDefault(std::uint32_t mask, const UserLanguageQuery& userDefault)
{
    if (mask == 0)
        mask = CurrentLanguage().Mask;
    const LANGID language = userDefault ? userDefault() : ::GetUserDefaultLangID();
    return LanguageFromLanguageId(language, mask);
}

void SetLanguage(LanguageIndex index)
{
    LanguageState& state = CurrentLanguage();
    if (index != state.Index)
        ApplyLocale(index);
    state.Index = index;
    state.Lcid = LocaleIdentifierFor(index, ::GetUserDefaultLCID());

    DWORD codePage = 0;
    if (!::GetLocaleInfoW(state.Lcid, LOCALE_RETURN_NUMBER | LOCALE_IDEFAULTANSICODEPAGE,
                          reinterpret_cast<LPWSTR>(&codePage), sizeof(codePage) / sizeof(wchar_t)))
        codePage = 0;
    state.CodePage = codePage ? codePage : ::GetACP();

    state.ResourceModule = nullptr;
    state.RightToLeft = IsRightToLeft(index);
}

bool IsRightToLeft(LanguageIndex index)
{
    LOCALESIGNATURE signature{};
    static_assert(sizeof(signature) == 16 * sizeof(wchar_t));
    if (::GetLocaleInfoW(LanguageLcid(index), LOCALE_FONTSIGNATURE, reinterpret_cast<LPWSTR>(&signature), 16))
        return (signature.lsUsb[3] >> 27) & 1u;  // Unicode subset 123: right-to-left layout
    return index == kHebrew;
}

UINT InstallerString(UINT frenchId)
{
    const HMODULE module = StringModule();
    return ResolveInstallerString(frenchId, CurrentLanguage().Index,
                                  [module](unsigned id) { return LoadResourceString(module, id); });
}

std::wstring InstallerMessage(unsigned message)
{
    return LoadResourceString(StringModule(), InstallerString(kFrenchStringBase + message));
}

std::wstring InstallerTitle(bool withProduct)
{
    std::wstring title = InstallerMessage(0);
    if (withProduct)
        title += L" \u2013 " + ProductDisplayName(true);
    return title;
}

std::wstring LanguageNativeName(LanguageIndex index)
{
    const LCID lcid = LocaleIdentifierFor(index, ::GetUserDefaultLCID());
    const int size = ::GetLocaleInfoW(lcid, LOCALE_SNATIVELANGNAME, nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring name(static_cast<size_t>(size), L'\0');
    const int written = ::GetLocaleInfoW(lcid, LOCALE_SNATIVELANGNAME, name.data(), size);
    name.resize(written > 0 ? static_cast<size_t>(written - 1) : 0);
    if (!name.empty())
        ::CharUpperBuffW(name.data(), 1);
    return name;
}

void ChangeLanguage(LanguageIndex index)
{
    SetLanguage(index);
    if (!IsInstallerTranslated(index)) {
        ShowMessage(FormatInserts(InstallerMessage(kMessageNoInstallerTexts), {ProductDisplayName(false)}), MB_OK | MB_ICONINFORMATION);
        SetLanguage(kEnglish);
    }
    if (auto hook = Hooks().applicationTitle)
        hook(InstallerTitle(true));
    if (auto hook = Hooks().wizardRelabel)
        hook();
}

void SetApplicationTitleHook(std::function<void(const std::wstring& title)> hook)
{
    auto old = std::exchange(Hooks().applicationTitle, std::move(hook));
}

void SetWizardRelabelHook(std::function<void()> hook)
{
    auto old = std::exchange(Hooks().wizardRelabel, std::move(hook));
}

void RegisterMessageFacts()
{
    SetOwnVersionTextSource([] { return VersionDisplayText(VersionInfo::OfRunningProgram()); });
    SetUserDefaultRightToLeftSource([] { return IsRightToLeft(LanguageFromUserDefault(0)); });
    SetCurrentRightToLeftSource([] { return CurrentLanguage().RightToLeft; });
}

}  // namespace va
