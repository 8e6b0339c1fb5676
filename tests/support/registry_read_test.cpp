#include "support/registry_read.h"

#include <gtest/gtest.h>

#include <system_error>

#include "tests/common/scratch_registry.h"

namespace va::test {
namespace {

constexpr const wchar_t* kScratchKey = L"Software\\Vantaro Tests\\ReadString";

class RegistryRead : public testing::Test {
protected:
    void SetUp() override { ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vantaro Tests"); }
    void TearDown() override
    {
        ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Vantaro Tests");
        ::RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Vantaro Tests");
    }
};

TEST_F(RegistryRead, AcceptsOnlyEvenSizedTerminatedTextValues)
{
    struct Case {
        const char* what;
        DWORD type;
        std::wstring data;  // written without an added zero
        DWORD bytes;        // 0 with empty data: a value without data
        bool accepted;
        std::wstring text;
    };
    const std::wstring expandable = std::wstring(L"%TEMP%\\x") + L'\0';
    const std::wstring embedded = std::wstring(L"a\0b", 3) + L'\0';
    const Case cases[] = {
        {"terminated REG_SZ", REG_SZ, std::wstring(L"abc") + L'\0', 8, true, L"abc"},
        {"REG_EXPAND_SZ, not expanded", REG_EXPAND_SZ, expandable, DWORD(expandable.size() * 2), true, L"%TEMP%\\x"},
        {"empty data", REG_SZ, L"", 0, true, L""},
        {"only the zero", REG_SZ, std::wstring(1, L'\0'), 2, true, L""},
        {"embedded zero kept", REG_SZ, embedded, DWORD(embedded.size() * 2), true, std::wstring(L"a\0b", 3)},
        {"odd size", REG_SZ, std::wstring(L"abc") + L'\0', 7, false, L""},
        {"REG_MULTI_SZ", REG_MULTI_SZ, std::wstring(L"abc\0\0", 5), 10, false, L""},
        {"REG_BINARY", REG_BINARY, std::wstring(L"ab") + L'\0', 6, false, L""},
        {"REG_DWORD", REG_DWORD, std::wstring(L"ab", 2), 4, false, L""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(WriteRawValue(HKEY_CURRENT_USER, kScratchKey, L"value", c.type, c.data.data(), c.bytes));
        UniqueKey key = OpenKey(HKEY_CURRENT_USER, kScratchKey);
        ASSERT_TRUE(key);
        std::wstring text = L"untouched";
        EXPECT_EQ(ReadString(key.get(), L"value", text), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(text, c.text);
        }
    }
}

TEST_F(RegistryRead, RefusesTextWithoutTerminatingZero)
{
    if (!RegistryKeepsUnterminatedText())
        GTEST_SKIP() << UNTERMINATED_TEXT_SKIP_REASON;
    ASSERT_TRUE(WriteRawValue(HKEY_CURRENT_USER, kScratchKey, L"value", REG_SZ, L"abc", 6));
    UniqueKey key = OpenKey(HKEY_CURRENT_USER, kScratchKey);
    ASSERT_TRUE(key);
    std::wstring text;
    EXPECT_FALSE(ReadString(key.get(), L"value", text));
}

TEST_F(RegistryRead, KeepsNotThereApartFromRealErrors)
{
    EXPECT_FALSE(OpenKey(HKEY_CURRENT_USER, L"Software\\Vantaro Tests\\Missing"));

    ASSERT_TRUE(WriteText(HKEY_CURRENT_USER, kScratchKey, L"present", L"x"));
    UniqueKey key = OpenKey(HKEY_CURRENT_USER, kScratchKey);
    ASSERT_TRUE(key);
    std::wstring text;
    EXPECT_FALSE(ReadString(key.get(), L"missing", text));

    // A handle that may not query values: a real error, raised with its code.
    UniqueKey enumerateOnly;
    ASSERT_EQ(::RegOpenKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, KEY_ENUMERATE_SUB_KEYS, enumerateOnly.put()),
              ERROR_SUCCESS);
    try {
        ReadString(enumerateOnly.get(), L"present", text);
        ADD_FAILURE() << "no error raised";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().category(), std::system_category());
        EXPECT_EQ(e.code().value(), ERROR_ACCESS_DENIED);
    }

    try {
        OpenKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x1234)), L"Software");
        ADD_FAILURE() << "no error raised";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code().category(), std::system_category());
        EXPECT_EQ(e.code().value(), ERROR_INVALID_HANDLE);
    }
}

}  // namespace
}  // namespace va::test
