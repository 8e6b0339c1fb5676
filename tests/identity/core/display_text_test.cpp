#include <gtest/gtest.h>

#include "identity/core/display_text.h"

namespace {

using va::ComposeDisplayText;

TEST(DisplayText, ComposedFromNameVersionAndFlags)
{
    struct Case {
        const char* what;
        const wchar_t* name;
        const wchar_t* version;
        std::uint32_t flags;
        bool french;
        const wchar_t* expected;
    };
    const Case cases[] = {
        {"plain", L"Trelvane", L"7.08g", 0, false, L"Trelvane 7.08g"},
        {"no version", L"Trelvane", L"", 0, false, L"Trelvane"},
        {"nothing at all", L"", L"", 0, false, L""},
        {"only a suffix", L"", L"", 8, false, L" \u2013 Private"},
        {"private", L"Trelvane", L"7.08g", 8, false, L"Trelvane 7.08g \u2013 Private"},
        {"debug", L"Trelvane", L"7.08g", 1, true, L"Trelvane 7.08g \u2013 Debug"},
        {"private before debug", L"T", L"1", 9, false, L"T 1 \u2013 Private \u2013 Debug"},
        {"bêta kept in French", L"Trelvane", L"7.09 b\u00EAta", 2, true, L"Trelvane 7.09 b\u00EAta"},
        {"bêta becomes beta", L"Trelvane", L"7.09 b\u00EAta", 2, false, L"Trelvane 7.09 beta"},
        {"only the last bêta", L"b\u00EAta", L"7 b\u00EAta", 2, false, L"b\u00EAta 7 beta"},
        {"bêta without the pre-release flag", L"Trelvane", L"b\u00EAta", 0, false, L"Trelvane b\u00EAta"},
        {"pre-release without bêta", L"Trelvane", L"7.09", 2, false, L"Trelvane 7.09"},
        {"every flag", L"T", L"b\u00EAta", 11, false, L"T beta \u2013 Private \u2013 Debug"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ComposeDisplayText(c.name, c.version, c.flags, c.french), c.expected) << c.what;
}

}  // namespace
