#include <gtest/gtest.h>

#include <shlwapi.h>

#include "app/product.h"
#include "engine/uninstall_log.h"
#include "tests/engine_journal/scratch_folder.h"

namespace va {
namespace {

using test::Exists;

const std::wstring kUninstall = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool RunningOnWine()
{
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    return ntdll && ::GetProcAddress(ntdll, "wine_get_version");
}

class UninstallKeyJournal : public ::testing::Test {
protected:
    void SetUp() override
    {
        productPath_ = kUninstall + L"\\" + ProductKey();
        ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, productPath_.c_str());
    }
    void TearDown() override { ::SHDeleteKeyW(HKEY_LOCAL_MACHINE, productPath_.c_str()); }

    // The product key with one value and a subkey, as the registry step leaves it.
    HKEY CreateProductKey(const wchar_t* displayName, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, productPath_.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                    KEY_ALL_ACCESS, nullptr, &key, disposition),
                  ERROR_SUCCESS);
        SetValue(key, L"DisplayName", displayName);
        HKEY sub = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(key, L"Sub", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &sub, nullptr), ERROR_SUCCESS);
        SetValue(sub, L"Inner", L"1");
        ::RegCloseKey(sub);
        return key;
    }

    static void SetValue(HKEY key, const wchar_t* name, const std::wstring& text)
    {
        EXPECT_EQ(::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                                   static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
                  ERROR_SUCCESS);
    }

    bool ProductKeyExists() const
    {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, productPath_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return false;
        ::RegCloseKey(key);
        return true;
    }

    std::wstring DisplayName() const
    {
        wchar_t text[64] = {};
        DWORD size = sizeof text;
        if (::RegGetValueW(HKEY_LOCAL_MACHINE, productPath_.c_str(), L"DisplayName", RRF_RT_REG_SZ, nullptr, text,
                           &size) != ERROR_SUCCESS)
            return L"<none>";
        return text;
    }

    std::wstring productPath_;
};

TEST(SetPrivilege, AdjustsAHeldPrivilegeAndRefusesAnUnknownOne)
{
    EXPECT_TRUE(SetPrivilege(SE_BACKUP_NAME, true));
    EXPECT_TRUE(SetPrivilege(SE_BACKUP_NAME, false));
    EXPECT_TRUE(SetPrivilege(SE_RESTORE_NAME, true));
    EXPECT_TRUE(SetPrivilege(SE_RESTORE_NAME, false));
    EXPECT_FALSE(SetPrivilege(L"SeNoSuchPrivilege", true));
}

TEST_F(UninstallKeyJournal, RollbackDeletesAKeyThatDidNotExistBefore)
{
    UninstallLog log;
    log.RecordUninstallKey(nullptr);
    HKEY key = CreateProductKey(L"New");
    ::RegCloseKey(key);
    log.CommitOutcome(1);
    ASSERT_TRUE(log.NewEntries.back().BackupPath.empty());

    log.Rollback();
    EXPECT_FALSE(ProductKeyExists());
}

TEST_F(UninstallKeyJournal, SavesAnExistingKeyAndRestoresItOnRollback)
{
    DWORD disposition = 0;
    HKEY existing = CreateProductKey(L"Old");
    ::RegCloseKey(existing);
    HKEY key = CreateProductKey(L"Old", &disposition);
    ASSERT_EQ(disposition, DWORD{REG_OPENED_EXISTING_KEY});

    UninstallLog log;
    log.RecordUninstallKey(key);
    const std::wstring backup = log.NewEntries.back().BackupPath;
    ASSERT_FALSE(backup.empty());
    WIN32_FILE_ATTRIBUTE_DATA data{};
    ASSERT_TRUE(::GetFileAttributesExW(backup.c_str(), GetFileExInfoStandard, &data));
    EXPECT_GT(data.nFileSizeLow, 0u);
    SetValue(key, L"DisplayName", L"New");
    SetValue(key, L"Added", L"x");
    ::RegCloseKey(key);
    log.CommitOutcome(1);

    log.Rollback();
    EXPECT_FALSE(Exists(backup));
    EXPECT_TRUE(ProductKeyExists()) << "a saved key is restored, never deleted";
    if (RunningOnWine())
        GTEST_SKIP() << "Wine's RegRestoreKeyW reports success without restoring anything";
    EXPECT_EQ(DisplayName(), L"Old");
    EXPECT_NE(::RegGetValueW(HKEY_LOCAL_MACHINE, productPath_.c_str(), L"Added", RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
}

// Backup names are "va" + hex digits + ".tmp" in the temporary folder.
int CountBackupNames()
{
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((std::wstring(temp) + L"va*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return 0;
    int count = 0;
    do
        ++count;
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return count;
}

TEST(RecordUninstallKey, AFailedSaveLeavesNoBackup)
{
    const int before = CountBackupNames();
    UninstallLog log;
    log.RecordUninstallKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFFF0)));  // no such key
    ASSERT_EQ(log.NewEntries.size(), 1u);
    EXPECT_TRUE(log.NewEntries.back().BackupPath.empty());
    EXPECT_EQ(CountBackupNames(), before);
    EXPECT_TRUE(log.AwaitingOutcome);
}

TEST_F(UninstallKeyJournal, WriteLogDiscardsTheSavedKey)
{
    HKEY key = CreateProductKey(L"Old");
    UninstallLog log;
    log.RecordUninstallKey(key);
    ::RegCloseKey(key);
    log.CommitOutcome(1);
    const std::wstring backup = log.NewEntries.back().BackupPath;
    ASSERT_TRUE(Exists(backup));

    test::ScratchFolder s;
    EXPECT_TRUE(log.WriteLog(s / L"Uninstall.ulog", s.Path(), L""));
    EXPECT_FALSE(Exists(backup));
    EXPECT_TRUE(ProductKeyExists());
}

}  // namespace
}  // namespace va
