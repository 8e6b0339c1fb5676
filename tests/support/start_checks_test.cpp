// The refusals at process start, seen from outside: box texts and exit codes.

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/common/process_helpers.h"
#include "tests/driver/driver.h"

using namespace va::test;
using test_support::BesideThisProgram;

namespace {

struct Refusal {
    const wchar_t* mode;
    const wchar_t* text;
    DWORD exitCode;
};

bool Contains(const std::vector<std::wstring>& texts, const std::wstring& wanted)
{
    return std::find(texts.begin(), texts.end(), wanted) != texts.end();
}

}  // namespace

TEST(StartChecks, RefusalsShowTheirBoxAndEndWithTheirExitCode)
{
    const Refusal cases[] = {
        {L"no-sse2",
         L"This Version is not compatible with your Configuration.\n\n"
         L"Cette version n'est pas compatible avec votre configuration.\n\n"
         L"Diese Version ist nicht mit Ihrer Konfiguration kompatibel.",
         1},
        {L"old-comctl", L"Initialization Error", static_cast<DWORD>(-11)},
    };
    for (const Refusal& c : cases) {
        Process child = StartProgram(BesideThisProgram(L"support_probe.exe"), c.mode);
        HWND box = WaitForDialog(child);
        ASSERT_NE(box, nullptr) << c.mode << ": no box";
        const std::vector<std::wstring> texts = StaticTexts(box);
        EXPECT_TRUE(Contains(texts, c.text)) << c.mode;
        PressButton(box, IDOK);
        EXPECT_EQ(WaitForExit(child), c.exitCode) << c.mode;
    }
}
