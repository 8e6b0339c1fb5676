#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/core/command_line.h"

namespace {

using va::CommandLineError;
using va::SwitchSpec;
using va::SwitchValue;
using Args = std::vector<std::wstring>;

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

TEST(SplitArguments, FollowsTheRuntimesQuotingRules)
{
    const struct {
        const wchar_t* text;
        Args expected;
    } cases[] = {
        {L"", {}},
        {L"   \t ", {}},
        {L"/quiet", {L"/quiet"}},
        {L"  /quiet \t /purge  ", {L"/quiet", L"/purge"}},
        {L"/log=\"C:\\My Logs\\u.log\"", {L"/log=C:\\My Logs\\u.log"}},
        {L"\"/log=C:\\a b\\u.log\" /quiet", {L"/log=C:\\a b\\u.log", L"/quiet"}},
        {L"\"\"", {L""}},                                  // an empty quoted argument counts
        {L"a\\\\b", {L"a\\\\b"}},                          // backslashes without quote stay
        {L"\"C:\\dir\\\\\"", {L"C:\\dir\\"}},              // 2n backslashes + quote: n, quote ends
        {L"a\\\"b", {L"a\"b"}},                            // 2n+1 backslashes + quote: literal quote
        {L"a\\\\\\\"b", {L"a\\\"b"}},
        {L"\"a \"\"quoted\"\" b\"", {L"a \"quoted\" b"}},  // doubled quote inside quotes
        {L"\"unclosed arg", {L"unclosed arg"}},
        {L"x\"y z\"w v", {L"xy zw", L"v"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(va::SplitArguments(c.text), c.expected) << Narrow(c.text);
}

TEST(QuoteArgument, SplitGivesEachArgumentBackUnchanged)
{
    const std::wstring arguments[] = {
        L"/quiet", L"", L"/log=C:\\My Logs\\u.log", L"C:\\dir\\", L"C:\\a b\\", L"say \"hi\"",
        L"a\\\"b", L"\\\\server\\share\\x y", L"tab\there", L"\"", L"\\", L"trailing\\\\",
    };
    std::wstring line;
    std::vector<std::wstring> expected;
    for (const std::wstring& argument : arguments) {
        EXPECT_EQ(va::SplitArguments(va::QuoteArgument(argument)), Args{argument}) << Narrow(argument);
        line += va::QuoteArgument(argument) + L" ";
        expected.push_back(argument);
    }
    EXPECT_EQ(va::SplitArguments(line), expected);
    EXPECT_EQ(va::QuoteArgument(L"/quiet"), L"/quiet");
    EXPECT_EQ(va::QuoteArgument(L"C:\\a b\\"), L"\"C:\\a b\\\\\"");
}

TEST(ArgumentsAfterProgram, SkipsTheQuotedOrBareProgramName)
{
    const struct {
        const wchar_t* line;
        const wchar_t* rest;
    } cases[] = {
        {L"\"C:\\Program Files\\Vantaro\\Trelvane 7\\Uninstall.exe\" /quiet", L" /quiet"},
        {L"C:\\Tools\\Uninstall.exe /quiet /purge", L" /quiet /purge"},
        {L"Uninstall.exe", L""},
        {L"\"C:\\a b\\x.exe\"/quiet", L"/quiet"},
        {L"\"C:\\unclosed", L""},
        {L"", L""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(va::ArgumentsAfterProgram(c.line), c.rest) << Narrow(c.line);
}

// The installer's unattended switches and the uninstaller's, as both tables
// will be written: one parser must serve both.
constexpr SwitchSpec kInstallerSwitches[] = {
    {L"quiet"}, {L"passive"}, {L"dir", SwitchValue::Required}, {L"group", SwitchValue::Required},
    {L"nostartmenu"}, {L"nodesktop"}, {L"lang", SwitchValue::Required}, {L"log", SwitchValue::Required},
    {L"?"},
};
constexpr SwitchSpec kUninstallerSwitches[] = {
    {L"quiet"}, {L"purge"}, {L"log", SwitchValue::Required}, {L"?"},
};

TEST(ParseSwitches, AcceptsEachSwitchInAnySpellingAndRefusesTheRestNamingTheArgument)
{
    struct Case {
        Args arguments;
        CommandLineError error;
        const wchar_t* offending;
    };
    const Case cases[] = {
        {{}, CommandLineError::None, L""},
        {{L"/quiet"}, CommandLineError::None, L""},
        {{L"-QUIET", L"/Purge"}, CommandLineError::None, L""},
        {{L"/log=C:\\a b\\u.log"}, CommandLineError::None, L""},
        {{L"-Log=x=y"}, CommandLineError::None, L""},  // only the first "=" separates
        {{L"/?"}, CommandLineError::None, L""},
        {{L"-?"}, CommandLineError::None, L""},
        {{L"quiet"}, CommandLineError::NotASwitch, L"quiet"},
        {{L"/quiet", L""}, CommandLineError::NotASwitch, L""},
        {{L"/quiet", L"C:\\x.log"}, CommandLineError::NotASwitch, L"C:\\x.log"},
        {{L"/"}, CommandLineError::UnknownSwitch, L"/"},
        {{L"/=x"}, CommandLineError::UnknownSwitch, L"/=x"},
        {{L"/quiet", L"/silent"}, CommandLineError::UnknownSwitch, L"/silent"},
        {{L"/quie"}, CommandLineError::UnknownSwitch, L"/quie"},
        {{L"/quiet2"}, CommandLineError::UnknownSwitch, L"/quiet2"},
        {{L"//quiet"}, CommandLineError::UnknownSwitch, L"//quiet"},
        {{L"/dir=C:\\x"}, CommandLineError::UnknownSwitch, L"/dir=C:\\x"},  // the installer's, not ours
        {{L"/log"}, CommandLineError::MissingValue, L"/log"},
        {{L"/log="}, CommandLineError::MissingValue, L"/log="},
        {{L"/quiet=1"}, CommandLineError::UnexpectedValue, L"/quiet=1"},
        {{L"/purge="}, CommandLineError::UnexpectedValue, L"/purge="},
        {{L"/quiet", L"-Quiet"}, CommandLineError::Repeated, L"-Quiet"},
        {{L"/log=a", L"/log=b"}, CommandLineError::Repeated, L"/log=b"},
    };
    for (const Case& c : cases) {
        std::string trace;
        for (const auto& a : c.arguments)
            trace += "[" + Narrow(a) + "]";
        const va::CommandLine parsed = va::ParseSwitches(c.arguments, kUninstallerSwitches);
        EXPECT_EQ(parsed.error, c.error) << trace;
        EXPECT_EQ(parsed.offending, c.offending) << trace;
        EXPECT_EQ(parsed.Valid(), c.error == CommandLineError::None) << trace;
    }
}

TEST(ParseSwitches, GivesEachSwitchWithItsValueInTheTablesSpelling)
{
    const va::CommandLine parsed =
        va::ParseSwitches({L"/PASSIVE", L"-dir=D:\\Apps\\Trelvane 7", L"/Lang=de", L"/NoDesktop"}, kInstallerSwitches);
    ASSERT_TRUE(parsed.Valid());
    ASSERT_EQ(parsed.switches.size(), 4u);
    EXPECT_EQ(parsed.switches[0].name, L"passive");
    EXPECT_EQ(parsed.switches[1].name, L"dir");
    EXPECT_TRUE(parsed.Has(L"Passive"));
    EXPECT_TRUE(parsed.Has(L"nodesktop"));
    EXPECT_FALSE(parsed.Has(L"quiet"));
    EXPECT_EQ(parsed.Value(L"dir"), L"D:\\Apps\\Trelvane 7");
    EXPECT_EQ(parsed.Value(L"LANG"), L"de");
    EXPECT_EQ(parsed.Value(L"nodesktop"), L"");
    EXPECT_EQ(parsed.Value(L"group"), std::nullopt);
}

TEST(ParseSwitches, SplitAndParsedTogetherKeepAQuotedValueWhole)
{
    const va::CommandLine parsed = va::ParseSwitches(
        va::SplitArguments(va::ArgumentsAfterProgram(L"\"C:\\P F\\Uninstall.exe\" /quiet /log=\"C:\\My Logs\\u.log\"")),
        kUninstallerSwitches);
    ASSERT_TRUE(parsed.Valid());
    EXPECT_TRUE(parsed.Has(L"quiet"));
    EXPECT_EQ(parsed.Value(L"log"), L"C:\\My Logs\\u.log");
}

}  // namespace

namespace {

TEST(NamesSwitch, FindsAWellFormedSwitchEvenOnARefusedLine)
{
    const va::SwitchSpec quiet{L"quiet"};
    EXPECT_TRUE(va::NamesSwitch({L"/unknown", L"-QUIET"}, quiet));
    EXPECT_TRUE(va::NamesSwitch({L"/quiet", L"/quiet"}, quiet));
    EXPECT_FALSE(va::NamesSwitch({L"/quiet=1"}, quiet));
    EXPECT_FALSE(va::NamesSwitch({L"quiet", L"/quietly"}, quiet));
    EXPECT_FALSE(va::NamesSwitch({}, quiet));
}

}  // namespace
