#include <gtest/gtest.h>

#include "support/core/narrow_text.h"

namespace {

TEST(NarrowText, Utf8WhenValidElseByteByByte)
{
    struct Case {
        const char* what;
        std::string narrow;
        std::wstring wide;
    };
    const Case cases[] = {
        {"ascii", "file not found", L"file not found"},
        {"empty", "", L""},
        {"two-byte", "r\xC3\xA9pertoire", L"r\u00E9pertoire"},
        {"three-byte", "a\xE2\x80\x93" "b", L"a\u2013b"},
        {"four-byte", "\xF0\x9F\x98\x80", sizeof(wchar_t) == 2 ? std::wstring(L"\xD83D\xDE00")
                                                               : std::wstring(1, wchar_t(0x1F600))},
        {"latin-1 byte", "r\xE9pertoire", L"r\u00E9pertoire"},
        {"cut sequence", "ab\xC3", L"ab\u00C3"},
        {"overlong slash", "\xC0\xAF", L"\u00C0\u00AF"},
        {"encoded surrogate", "\xED\xA0\x80", L"\u00ED\u00A0\u0080"},
        {"above U+10FFFF", "\xF4\x90\x80\x80", L"\u00F4\u0090\u0080\u0080"},
        {"stray continuation", "\x80z", L"\u0080z"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::WidenExceptionText(c.narrow), c.wide) << c.what;
}

}  // namespace
