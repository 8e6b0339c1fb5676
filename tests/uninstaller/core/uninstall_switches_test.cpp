#include <gtest/gtest.h>

#include "uninstaller/core/uninstall_switches.h"

namespace va::uninstall {
namespace {

std::string Trace(const std::vector<std::wstring>& arguments)
{
    std::string trace;
    for (const auto& a : arguments)
        trace += "[" + std::string(a.begin(), a.end()) + "]";
    return trace;
}

TEST(UninstallerSwitches, TheirMeaning)
{
    const struct {
        std::vector<std::wstring> arguments;
        bool quiet, purge, help;
        std::wstring logFile, finishLog;
        std::optional<std::uintptr_t> wait;
    } cases[] = {
        {{}, false, false, false, L"", L"", std::nullopt},
        {{L"/quiet", L"/purge", L"/log=C:\\u.log"}, true, true, false, L"C:\\u.log", L"", std::nullopt},
        {{L"-?"}, false, false, true, L"", L"", std::nullopt},
        {{L"/finish=C:\\T\\Uninstall.ulog", L"/wait=412", L"/quiet"}, true, false, false, L"",
         L"C:\\T\\Uninstall.ulog", 412},
        {{L"/finish=C:\\T\\Uninstall.ulog"}, false, false, false, L"", L"C:\\T\\Uninstall.ulog", std::nullopt},
    };
    for (const auto& c : cases) {
        const std::string trace = Trace(c.arguments);
        const ParsedOptions parsed = ParseUninstallerArguments(c.arguments);
        ASSERT_TRUE(parsed.parsed.Valid()) << trace;
        EXPECT_EQ(parsed.options.quiet, c.quiet) << trace;
        EXPECT_EQ(parsed.options.purge, c.purge) << trace;
        EXPECT_EQ(parsed.options.help, c.help) << trace;
        EXPECT_EQ(parsed.options.logFile, c.logFile) << trace;
        EXPECT_EQ(parsed.options.finishLog, c.finishLog) << trace;
        EXPECT_EQ(parsed.options.waitHandle, c.wait) << trace;
    }
}

TEST(UninstallerSwitches, RefusedLinesNameTheirArgument)
{
    const std::vector<std::wstring> cases[] = {
        {L"/wait=412"},                        // only with /finish
        {L"/finish=x", L"/wait=0x1c"},          // decimal only
        {L"/finish=x", L"/wait=0"},
        {L"/finish=x", L"/wait=99999999999"},
        {L"/dir=C:\\x"},                        // the installer's, not ours
        {L"/quiet", L"extra"},
    };
    for (const auto& arguments : cases) {
        const ParsedOptions parsed = ParseUninstallerArguments(arguments);
        EXPECT_FALSE(parsed.parsed.Valid()) << Trace(arguments);
        EXPECT_FALSE(parsed.parsed.offending.empty()) << Trace(arguments);
    }
}

TEST(UninstallerSwitches, AWrongWaitValueNamesItsOwnArgument)
{
    const ParsedOptions parsed = ParseUninstallerArguments({L"/finish=x", L"-WAIT=abc", L"/quiet"});
    EXPECT_FALSE(parsed.parsed.Valid());
    EXPECT_EQ(parsed.parsed.offending, L"-WAIT=abc");
}

}  // namespace
}  // namespace va::uninstall
