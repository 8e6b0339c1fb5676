#include <gtest/gtest.h>

#include <windows.h>

#include "support/error_text.h"
#include "support/message_hooks.h"

namespace {

// What the system itself says, line breaks and all.
std::wstring RawSystemText(DWORD code)
{
    wchar_t buffer[2048] = {};
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                          code, 0, buffer, 2048, nullptr);
    return std::wstring(buffer, length);
}

TEST(SystemErrorText, IsTheSystemTextWithoutTrailingBreaks)
{
    ASSERT_FALSE(RawSystemText(ERROR_BUSY).empty());
    ASSERT_FALSE(RawSystemText(0x80004005).empty());
    // Some systems have no text for E_UNEXPECTED: it then reads as E_FAIL.
    for (DWORD code : {DWORD(ERROR_BUSY), DWORD(ERROR_FILE_NOT_FOUND), DWORD(0x8000FFFF), DWORD(0x80004005)}) {
        SCOPED_TRACE(code);
        const std::wstring raw = RawSystemText(code);
        std::wstring expected = raw.empty() ? RawSystemText(0x80004005) : raw;
        while (!expected.empty() && (expected.back() == L'\r' || expected.back() == L'\n'))
            expected.pop_back();
        const std::wstring text = va::SystemErrorText(code, 0);
        EXPECT_EQ(text, expected);
        EXPECT_NE(text.back(), L'\n');
        EXPECT_NE(text.back(), L'\r');
    }
}

TEST(SystemErrorText, CodeWithoutTextGivesTheTextOfEFail)
{
    const DWORD unknown = 0x0000FFF0;
    ASSERT_TRUE(RawSystemText(unknown).empty());
    const std::wstring fail = va::SystemErrorText(0x80004005, 0);
    EXPECT_FALSE(fail.empty());
    EXPECT_EQ(va::SystemErrorText(unknown, 0), fail);
}

TEST(SystemErrorText, MissingLanguageFallsBackToTheSystemsChoice)
{
    // Maori: a language whose message table no installation carries by default.
    const DWORD maori = MAKELANGID(LANG_MAORI, SUBLANG_MAORI_NEW_ZEALAND);
    wchar_t buffer[256];
    if (::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, ERROR_BUSY, maori,
                         buffer, 256, nullptr) != 0)
        GTEST_SKIP() << "this system has Maori system messages";
    ASSERT_EQ(::GetLastError(), DWORD(ERROR_RESOURCE_LANG_NOT_FOUND));
    EXPECT_EQ(va::SystemErrorText(ERROR_BUSY, maori), va::SystemErrorText(ERROR_BUSY, 0));
}

TEST(ErrorText, CustomerCodesNameProgramStringsOnlyWithBit27)
{
    va::InstallDefaultMessageHooks();
    const std::wstring fail = va::SystemErrorText(0x80004005, 0);
    struct Case {
        const char* what;
        DWORD code;
        std::wstring expected;
    };
    const Case cases[] = {
        {"bits 31, 29, 27, existing string", 0xA8000000 | 61704, L"Internal application error."},
        {"bits 29, 27, existing string", 0x28000000 | 61472, L"No error message is available."},
        {"bits 31, 29, 27, string 5 missing", 0xA8000000 | 5, fail},
        {"customer code without bit 27", 0xA0000000 | 61704, fail},
        {"bit 27 without the customer bit is a system code", 0x08000000 | 61704,
         va::SystemErrorText(0x08000000 | 61704, 0)},
        {"Windows error", ERROR_BUSY, va::SystemErrorText(ERROR_BUSY, 0)},
        {"HRESULT", 0x8000FFFF, va::SystemErrorText(0x8000FFFF, 0)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(va::ErrorText(c.code), c.expected) << c.what;
        EXPECT_FALSE(va::ErrorText(c.code).empty()) << c.what;
    }
}

}  // namespace
