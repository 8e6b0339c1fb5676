// The string tables of the built installer, read back block by block in the
// language each block must carry.

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "installer/core/installer_switches.h"
#include "languages/core/language_table.h"
#include "languages/languages.h"
#include "support/handles.h"
#include "tests/common/process_helpers.h"

namespace {

using va::LanguageIndex;

const unsigned kOffsets[] = {0,   1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,
                             16,  17,  18,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112,
                             113, 114, 115, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 129, 131, 140, 141, 142};

const std::map<unsigned, std::wstring> kEnglish = {
    {0, L"Installer"},
    {140, L"The command line is not valid: %1"},
    {142, L"The log file '%1' cannot be created: %2"},
    {1, L"OK"},
    {2, L"Cancel"},
    {3, L"About '%1'"},
    {4, L"Exit"},
    {5, L"Back"},
    {6, L"Next"},
    {7, L"Install"},
    {8, L"Browse..."},
    {9, L"Start menu"},
    {10, L"Installation Folder Selection"},
    {11, L"OK"},
    {12, L"Failed"},
    {13, L"Uninstall %1"},
    {14, L"Select Installation Langage"},
    {15, L"Installation Method"},
    {16, L"Quick Installation (Recommended)"},
    {17, L"Advanced Installation"},
    {18, L"%1 Examples"},
    {100, L"'%1' Installation."},
    {101, L"Update from '%1' to '%2'."},
    {102, L"'%1' is already installed."},
    {103, L"A more recent Version (%1) is already installed."},
    {104, L"Do you confirm Reinstallation ?"},
    {105, L"Click on '%1' to continue or on '%2' to exit Installation."},
    {106, L"Click on '%1' to continue."},
    {107, L"Click on '%1' to exit Installation."},
    {108, L"Click on '%1' to start Installation."},
    {110, L"Installation is not complete.\r\n\r\nDo you still confirm exit Installation ?"},
    {111, L"Select '%1' Installation Folder."},
    {112, L"Create a Shortcut in the following Menu:"},
    {113, L"Create a Shortcut on the Desktop."},
    {114, L"Preparing Installation..."},
    {115, L"Copying File  %1..."},
    {117, L"Shortcuts Creation..."},
    {118, L"Registry Data Writing..."},
    {119, L"Installation Data Writing..."},
    {120, L"Installation is complete."},
    {121, L"Installation failed (Error Code %1)."},
    {122, L"Installation Options"},
    {123, L"Installation Folder: %1."},
    {124, L"Creating a Shortcut in the Start Menu (Folder %1)."},
    {125, L"Creating a Shortcut on the Desktop."},
    {126, L"You should have Administrator Rights in order to proceed to Installation."},
    {127, L"You should close '%1' before continuing Installation."},
    {129, L"'%1' will be installed in the selected Langage, but the Installer, still under translation,  shall "
          L"run in English."},
    {131, L"#"},
};

const std::map<unsigned, std::wstring> kFrenchQuoted = {
    {13, L"D\u00E9sinstaller %1"},
    {18, L"Exemples %1"},
    {131, L"Mise \u00E0 jour de DirectX..."},
};

std::wstring InstallerPath()
{
    return test_support::BesideThisProgram(L"..\\bin\\InstallTrelvane7.08g.exe");
}

// The languages a string-table block exists in.
BOOL CALLBACK AddLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found)
{
    reinterpret_cast<std::set<WORD>*>(found)->insert(language);
    return TRUE;
}

class InstallerStrings : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        image_ = ::LoadLibraryExW(InstallerPath().c_str(), nullptr,
                                  LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    }
    static void TearDownTestSuite()
    {
        if (image_)
            ::FreeLibrary(image_);
        image_ = nullptr;
    }
    void SetUp() override { ASSERT_NE(image_, nullptr) << "cannot open the installer"; }

    // The text of string `id` from the block in `language` only; nothing when
    // the block is not there in that language.
    static std::optional<std::wstring> Text(unsigned id, WORD language)
    {
        HRSRC found = ::FindResourceExW(image_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
        if (!found)
            return std::nullopt;
        const auto* data = static_cast<const WCHAR*>(::LockResource(::LoadResource(image_, found)));
        const auto* end = data + ::SizeofResource(image_, found) / sizeof(WCHAR);
        for (unsigned i = 0; i < id % 16 && data < end; ++i)
            data += 1 + *data;
        if (data >= end || data + 1 + *data > end)
            return std::nullopt;
        return std::wstring(data + 1, *data);
    }

    static std::set<WORD> BlockLanguages(unsigned id)
    {
        std::set<WORD> languages;
        ::EnumResourceLanguagesW(image_, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), AddLanguage,
                                 reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    static unsigned Id(LanguageIndex language, unsigned offset)
    {
        return va::kFrenchStringBase + va::StringOffset(language) + offset;
    }

    static inline HMODULE image_ = nullptr;
};

TEST_F(InstallerStrings, EveryMessageLivesInItsLanguagesBlock)
{
    for (LanguageIndex i = 0; i < va::kLanguageCount; ++i) {
        const WORD language = va::LanguageLcid(i);
        for (unsigned offset : kOffsets) {
            SCOPED_TRACE(testing::Message() << "language " << i << ", offset " << offset);
            const auto text = Text(Id(i, offset), language);
            ASSERT_TRUE(text.has_value());
            EXPECT_FALSE(text->empty());
            EXPECT_EQ(BlockLanguages(Id(i, offset)), std::set<WORD>{language});
        }
    }
}

TEST_F(InstallerStrings, EnglishAndFrenchTexts)
{
    for (const auto& [offset, text] : kEnglish)
        EXPECT_EQ(Text(Id(va::kEnglish, offset), 1033).value_or(L"?"), text) << offset;
    EXPECT_NE(Text(Id(va::kEnglish, 109), 1033).value_or(L"").find(L"%1"), std::wstring::npos);

    for (unsigned offset : kOffsets)
        EXPECT_NE(Text(Id(va::kFrench, offset), 1036).value_or(L"#"), L"#") << offset;
    for (const auto& [offset, text] : kFrenchQuoted)
        EXPECT_EQ(Text(Id(va::kFrench, offset), 1036).value_or(L"?"), text) << offset;
    EXPECT_EQ(Text(Id(2, 13), 1031).value_or(L"?"), L"Deinstallieren %1");
}

TEST_F(InstallerStrings, UntranslatedMessagesAreMarked)
{
    for (LanguageIndex i = 2; i < va::kLanguageCount; ++i) {
        const WORD language = va::LanguageLcid(i);
        const bool translated = va::IsInstallerTranslated(i);
        for (unsigned offset : kOffsets) {
            const bool untranslated = !translated || offset == 131;
            EXPECT_EQ(Text(Id(i, offset), language).value_or(L"") == L"#", untranslated)
                << "language " << i << ", offset " << offset;
        }
    }
}

// The /? list of every language that has one names each switch the installer
// takes, in its synopsis and on a line of its own, so the two cannot drift.
TEST_F(InstallerStrings, UsageListsEverySwitch)
{
    for (LanguageIndex i = 0; i < va::kLanguageCount; ++i) {
        const std::wstring usage = Text(Id(i, 141), va::LanguageLcid(i)).value_or(L"");
        if (usage == L"#")
            continue;
        const std::wstring synopsis = usage.substr(0, usage.find(L"\r\n"));
        for (const va::SwitchSpec& s : va::InstallerSwitchTable()) {
            const std::wstring name = L"/" + std::wstring(s.name);
            SCOPED_TRACE(testing::Message() << "language " << i << ", switch " << name);
            if (name != L"/?") {
                EXPECT_NE(synopsis.find(name), std::wstring::npos);
            }
            EXPECT_NE(usage.find(L"\r\n" + name + (s.value == va::SwitchValue::Required ? L"=" : L"\t")),
                      std::wstring::npos);
        }
    }
}

// A translation keeps the inserts and line breaks of the text it translates.
TEST_F(InstallerStrings, TranslationsKeepInsertsAndLineBreaks)
{
    auto shape = [](const std::wstring& text) {
        std::multiset<std::wstring> parts;
        for (size_t at = text.find(L'%'); at != std::wstring::npos; at = text.find(L'%', at + 1))
            parts.insert(text.substr(at, 2));
        for (size_t at = text.find(L"\r\n"); at != std::wstring::npos; at = text.find(L"\r\n", at + 2))
            parts.insert(L"CRLF");
        size_t bareLineFeeds = 0;
        for (size_t at = 0; at < text.size(); ++at)
            if (text[at] == L'\n' && (at == 0 || text[at - 1] != L'\r'))
                ++bareLineFeeds;
        parts.insert(L"bare LF x" + std::to_wstring(bareLineFeeds));
        return parts;
    };
    for (LanguageIndex i = 0; i < va::kLanguageCount; ++i) {
        for (unsigned offset : kOffsets) {
            const std::wstring text = Text(Id(i, offset), va::LanguageLcid(i)).value_or(L"");
            if (text == L"#")
                continue;
            const std::wstring reference = offset == 131 ? std::wstring(L"Mise \u00E0 jour de DirectX...")
                                                         : *Text(Id(va::kEnglish, offset), 1033);
            EXPECT_EQ(shape(text), shape(reference)) << "language " << i << ", offset " << offset;
            EXPECT_EQ(text.find(L"Trelvane"), std::wstring::npos) << "the product comes through %1";
        }
    }
}

TEST_F(InstallerStrings, ProgramStringsInEnglish)
{
    const std::pair<unsigned, const wchar_t*> strings[] = {
        {61472, L"No error message is available."},
        {61473, L"Attempted an unsupported operation."},
        {61477, L"Encountered an improper argument."},
        {61704, L"Internal application error."},
        {61710, L"Enter no more than %1 characters."},
    };
    for (const auto& [id, text] : strings)
        EXPECT_EQ(Text(id, 1033).value_or(L"?"), text) << id;
}

TEST_F(InstallerStrings, InstallerStringResolvesAgainstTheInstaller)
{
    for (LanguageIndex i = 0; i < va::kLanguageCount; ++i) {
        va::SetLanguage(i);
        va::CurrentLanguage().ResourceModule = image_;
        const LanguageIndex shown = va::IsInstallerTranslated(i) ? i : va::kEnglish;
        for (unsigned offset : {0u, 13u, 129u})
            EXPECT_EQ(va::InstallerString(1000 + offset), Id(shown, offset)) << i << "/" << offset;
        EXPECT_EQ(va::InstallerString(1131), 1131u) << i;
        EXPECT_EQ(va::InstallerMessage(131), L"Mise \u00E0 jour de DirectX...") << i;
    }
    va::SetLanguage(va::kFrench);
}

}  // namespace
