// The installer's command line as a table: what each line gives, and what
// each refused line names.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "installer/core/installer_switches.h"

namespace {

using va::CommandLineError;
using va::FolderProblem;
using va::RunMode;
using Args = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::string Trace(const Args& arguments)
{
    std::string text;
    for (const std::wstring& a : arguments)
        text += Narrow(a) + " ";
    return text;
}

TEST(InstallerSwitches, AcceptedLinesGiveTheirOptions)
{
    {
        const auto p = va::ParseInstallerArguments({});
        ASSERT_TRUE(p.parsed.Valid());
        EXPECT_EQ(p.options.mode, RunMode::Wizard);
        EXPECT_FALSE(p.options.help || p.options.noStartMenu || p.options.noDesktop);
        EXPECT_FALSE(p.options.installFolder || p.options.startMenuGroup || p.options.language);
        EXPECT_TRUE(p.options.logFile.empty());
    }
    {
        const auto p = va::ParseInstallerArguments({L"-QUIET", L"/Dir=D:\\Apps\\Trelvane\\\\", L"/group=Games\\Vantaro",
                                                    L"/nodesktop", L"/LANG=de", L"/log=C:\\a b\\i.log"});
        ASSERT_TRUE(p.parsed.Valid()) << Narrow(p.parsed.offending);
        EXPECT_EQ(p.options.mode, RunMode::Quiet);
        EXPECT_EQ(p.options.installFolder, L"D:\\Apps\\Trelvane");
        EXPECT_EQ(p.options.startMenuGroup, L"Games\\Vantaro");
        EXPECT_TRUE(p.options.noDesktop);
        EXPECT_FALSE(p.options.noStartMenu);
        EXPECT_EQ(p.options.language, 2);
        EXPECT_EQ(p.options.logFile, L"C:\\a b\\i.log");
    }
    {
        const auto p = va::ParseInstallerArguments({L"/passive", L"/nostartmenu", L"/lang=11", L"/dir=C:\\Apps\\"});
        ASSERT_TRUE(p.parsed.Valid());
        EXPECT_EQ(p.options.mode, RunMode::Passive);
        EXPECT_TRUE(p.options.noStartMenu);
        EXPECT_EQ(p.options.language, 11);
        EXPECT_EQ(p.options.installFolder, L"C:\\Apps");
    }
    {
        // What deployment tools append: taken with any mode, and nothing else changes.
        const auto p = va::ParseInstallerArguments({L"/quiet", L"/NoRestart"});
        ASSERT_TRUE(p.parsed.Valid());
        EXPECT_EQ(p.options.mode, RunMode::Quiet);
        EXPECT_TRUE(p.options.noRestart);
        EXPECT_FALSE(va::ParseInstallerArguments({L"/passive"}).options.noRestart);
    }
    EXPECT_TRUE(va::ParseInstallerArguments({L"/?"}).options.help);
    EXPECT_TRUE(va::ParseInstallerArguments({L"-?", L"/quiet"}).options.help);
}

TEST(InstallerSwitches, RefusedLinesNameTheArgumentAndWhy)
{
    const std::wstring tooLong = L"C:\\" + std::wstring(258, L'x');
    const struct {
        Args arguments;
        CommandLineError error;
        std::wstring offending;
    } cases[] = {
        {{L"/silent"}, CommandLineError::UnknownSwitch, L"/silent"},
        {{L"/quiet", L"setup.ini"}, CommandLineError::NotASwitch, L"setup.ini"},
        {{L"/dir"}, CommandLineError::MissingValue, L"/dir"},
        {{L"/log="}, CommandLineError::MissingValue, L"/log="},
        {{L"/quiet=yes"}, CommandLineError::UnexpectedValue, L"/quiet=yes"},
        {{L"/norestart=1"}, CommandLineError::UnexpectedValue, L"/norestart=1"},
        {{L"/norestart", L"-norestart"}, CommandLineError::Repeated, L"-norestart"},
        {{L"/nodesktop", L"-NODESKTOP"}, CommandLineError::Repeated, L"-NODESKTOP"},
        {{L"/quiet", L"/Passive"}, CommandLineError::Conflicting, L"/Passive"},
        {{L"/group=Games", L"/nostartmenu"}, CommandLineError::Conflicting, L"/group=Games"},
        {{L"/dir=Apps\\Trelvane"}, CommandLineError::InvalidValue, L"/dir=Apps\\Trelvane"},
        {{L"/dir=C:Apps"}, CommandLineError::InvalidValue, L"/dir=C:Apps"},
        {{L"/dir=\\Apps"}, CommandLineError::InvalidValue, L"/dir=\\Apps"},
        {{L"/dir=\\\\server"}, CommandLineError::InvalidValue, L"/dir=\\\\server"},
        {{L"/dir=C:\\"}, CommandLineError::InvalidValue, L"/dir=C:\\"},
        {{L"/dir=\\\\server\\share\\"}, CommandLineError::InvalidValue, L"/dir=\\\\server\\share\\"},
        {{L"/dir=" + tooLong}, CommandLineError::InvalidValue, L"/dir=" + tooLong},
        {{L"/dir=C:\\a\\..\\b"}, CommandLineError::InvalidValue, L"/dir=C:\\a\\..\\b"},
        {{L"/dir=C:\\a?b"}, CommandLineError::InvalidValue, L"/dir=C:\\a?b"},
        {{L"/group=C:\\Menu"}, CommandLineError::InvalidValue, L"/group=C:\\Menu"},
        {{L"/group=\\Menu"}, CommandLineError::InvalidValue, L"/group=\\Menu"},
        {{L"/group=..\\Menu"}, CommandLineError::InvalidValue, L"/group=..\\Menu"},
        // The system would drop the dot, the log would keep it.
        {{L"/dir=C:\\Apps\\Trelvane."}, CommandLineError::InvalidValue, L"/dir=C:\\Apps\\Trelvane."},
        {{L"/dir=C:\\Apps \\Trelvane"}, CommandLineError::InvalidValue, L"/dir=C:\\Apps \\Trelvane"},
        {{L"/group=Vantaro\\Trelvane."}, CommandLineError::InvalidValue, L"/group=Vantaro\\Trelvane."},
        {{L"/lang=xx"}, CommandLineError::InvalidValue, L"/lang=xx"},
        {{L"/lang=20"}, CommandLineError::InvalidValue, L"/lang=20"},
        {{L"/lang=-1"}, CommandLineError::InvalidValue, L"/lang=-1"},
        {{L"/lang=english"}, CommandLineError::InvalidValue, L"/lang=english"},
        {{L"/lang=da"}, CommandLineError::InvalidValue, L"/lang=da"},  // not a language of the product
        {{L"/lang=6"}, CommandLineError::InvalidValue, L"/lang=6"},
    };
    for (const auto& c : cases) {
        const auto p = va::ParseInstallerArguments(c.arguments);
        EXPECT_EQ(p.parsed.error, c.error) << Trace(c.arguments);
        EXPECT_EQ(p.parsed.offending, c.offending) << Trace(c.arguments);
        EXPECT_FALSE(p.reason.empty()) << Trace(c.arguments);
    }
}

TEST(InstallerSwitches, FoldersAreCheckedAsTheFolderAndShortcutPagesWouldHoldThem)
{
    const struct {
        const wchar_t* folder;
        FolderProblem install;
        FolderProblem group;
    } cases[] = {
        {L"C:\\Program Files\\Vantaro\\Trelvane 7", FolderProblem::None, FolderProblem::Relative},
        {L"c:/apps", FolderProblem::None, FolderProblem::Relative},
        {L"\\\\server\\share\\apps", FolderProblem::None, FolderProblem::Relative},
        {L"Programs\\Vantaro\\Trelvane 7", FolderProblem::Relative, FolderProblem::None},
        {L"Programs\\", FolderProblem::Relative, FolderProblem::None},
        {L"a\\\\b", FolderProblem::Relative, FolderProblem::BadCharacters},
        {L"a\\.\\b", FolderProblem::Relative, FolderProblem::BadCharacters},
        {L"a|b", FolderProblem::Relative, FolderProblem::BadCharacters},
        {L"C:\\a:b", FolderProblem::BadCharacters, FolderProblem::Relative},
        {L"C:\\", FolderProblem::Root, FolderProblem::Relative},
        {L"d:/", FolderProblem::Root, FolderProblem::Relative},
        {L"\\\\server\\share", FolderProblem::Root, FolderProblem::Relative},
        {L"\\\\server\\share\\\\", FolderProblem::Root, FolderProblem::Relative},
        {L"", FolderProblem::Relative, FolderProblem::Relative},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(va::CheckInstallFolder(c.folder), c.install) << Narrow(c.folder);
        EXPECT_EQ(va::CheckStartMenuGroup(c.folder), c.group) << Narrow(c.folder);
    }
    EXPECT_EQ(va::CheckInstallFolder(L"C:\\" + std::wstring(257, L'x')), FolderProblem::None);
    EXPECT_EQ(va::CheckInstallFolder(L"C:\\" + std::wstring(258, L'x')), FolderProblem::TooLong);
    EXPECT_EQ(va::CheckStartMenuGroup(std::wstring(260, L'x')), FolderProblem::None);
    EXPECT_EQ(va::CheckStartMenuGroup(std::wstring(261, L'x')), FolderProblem::TooLong);
}

TEST(InstallerSwitches, LanguagesByIndexOrTwoLetterCode)
{
    const struct {
        const wchar_t* value;
        va::LanguageIndex index;
    } cases[] = {
        {L"0", 0}, {L"1", 1}, {L"19", 19}, {L"07", 7}, {L"fr", 0}, {L"EN", 1}, {L"De", 2}, {L"zh", 10},
        {L"it", 11}, {L"hu", 19}, {L"20", -1}, {L"100", -1}, {L"", -1}, {L"e", -1}, {L"eng", -1}, {L"x1", -1},
    };
    for (const auto& c : cases)
        EXPECT_EQ(va::LanguageOfSwitchValue(c.value), c.index) << Narrow(c.value);
}

}  // namespace
