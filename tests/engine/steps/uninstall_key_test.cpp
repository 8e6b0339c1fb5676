#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "identity/core/product.h"
#include "installer/previous_installation.h"
#include "engine/journal/backup_file.h"
#include "engine/journal/privilege.h"
#include "engine/journal/uninstall_log.h"
#include "engine/steps/registry_entries.h"
#include "support/handles.h"
#include "tests/common/registry_denial.h"
#include "tests/common/registry_test_util.h"
#include "tests/common/scoped_fault.h"
#include "tests/common/scratch_folder.h"
#include "tests/common/temporary_path.h"

namespace va::test {
namespace {

const std::wstring kProductKeyPath = std::wstring(kUninstallRoot) + L"\\Trelvane 7";
const ProductPaths kPaths{L"C:\\Program Files (x86)\\Vantaro\\Trelvane 7\\Trelvane.exe",
                          L"C:\\Program Files (x86)\\Vantaro\\Trelvane 7\\Uninstall.exe"};

struct NamedValue {
    std::wstring name;
    DWORD type;
    std::vector<std::uint8_t> data;
};

std::vector<NamedValue> ValuesInOrder(const std::wstring& subkey)
{
    std::vector<NamedValue> values;
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS)
        return values;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256];
        DWORD nameLength = 256;
        std::vector<std::uint8_t> data(4096);
        DWORD size = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data.data(), &size) !=
            ERROR_SUCCESS)
            break;
        data.resize(size);
        values.push_back({std::wstring(name, nameLength), type, data});
    }
    return values;
}

std::vector<std::uint8_t> SzBytes(const std::wstring& text)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.c_str());
    return std::vector<std::uint8_t>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t));
}

std::vector<std::uint8_t> DwordBytes(DWORD value)
{
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(&value);
    return std::vector<std::uint8_t>(bytes, bytes + sizeof(value));
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// Whether RegRestoreKeyW really puts a saved key back (Wine only reports
// success).
bool RestoreKeyWorks()
{
    const std::wstring probe = L"Software\\Vantaro\\Test\\Restore probe";
    DeleteTree(HKEY_CURRENT_USER, probe);
    WriteText(HKEY_CURRENT_USER, probe, L"Value", L"before");
    const std::wstring file = BackupToTemp(nullptr, false);
    ::DeleteFileW(file.c_str());  // the save needs a free name
    bool works = false;
    {
        UniqueKey key;
        ::RegOpenKeyExW(HKEY_CURRENT_USER, probe.c_str(), 0, KEY_ALL_ACCESS, key.put());
        SetPrivilege(SE_BACKUP_NAME, true);
        SetPrivilege(SE_RESTORE_NAME, true);
        if (!file.empty() && ::RegSaveKeyW(key.get(), file.c_str(), nullptr) == ERROR_SUCCESS) {
            WriteText(HKEY_CURRENT_USER, probe, L"Value", L"after");
            ::RegRestoreKeyW(key.get(), file.c_str(), 0);
            works = ReadText(HKEY_CURRENT_USER, probe, L"Value") == L"before";
        }
        SetPrivilege(SE_RESTORE_NAME, false);
        SetPrivilege(SE_BACKUP_NAME, false);
    }
    ::DeleteFileW(file.c_str());
    DeleteTree(HKEY_CURRENT_USER, probe);
    return works;
}

class UninstallKeyTest : public testing::Test {
protected:
    void SetUp() override { Clean(); }
    void TearDown() override
    {
        log.Rollback();  // discards any saved key
        Clean();
    }
    static void Clean()
    {
        DeleteTree(HKEY_LOCAL_MACHINE, kProductKeyPath);
        DeleteTree(HKEY_LOCAL_MACHINE, kMakerKey);
    }

    UninstallLog log;
};

const std::vector<NamedValue>& ExpectedValues()
{
    static const std::vector<NamedValue> values = {
        {L"DisplayName", REG_SZ, SzBytes(L"Trelvane 7.08g")},
        {L"UninstallString", REG_SZ, SzBytes(kPaths.uninstaller)},
        {L"DisplayIcon", REG_SZ, SzBytes(kPaths.mainProgram + L",0")},
        {L"DisplayVersion", REG_SZ, SzBytes(L"7.8.7.1")},
        {L"Publisher", REG_SZ, SzBytes(L"Vantaro")},
        {L"URLInfoAbout", REG_SZ, SzBytes(kMakerWebSite)},
        {L"HelpLink", REG_SZ, SzBytes(kMakerWebSite)},
        {L"URLUpdateInfo", REG_SZ, SzBytes(kMakerWebSite)},
        {L"HelpTelephone", REG_SZ, SzBytes(kMakerTelephone)},
        {L"NoModify", REG_DWORD, DwordBytes(1)},
        {L"NoRepair", REG_DWORD, DwordBytes(1)},
        {L"VaLanguage", REG_DWORD, DwordBytes(1)},
        {L"QuietUninstallString", REG_SZ, SzBytes(L"\"" + kPaths.uninstaller + L"\" /quiet")},
    };
    return values;
}

// Whether this registry enumerates values in the order they were written
// (Windows does; Wine sorts them by name).
bool EnumerationKeepsWritingOrder()
{
    const std::wstring probe = L"Software\\Vantaro\\Test\\Order probe";
    DeleteTree(HKEY_LOCAL_MACHINE, probe);
    WriteText(HKEY_LOCAL_MACHINE, probe, L"b", L"1");
    WriteText(HKEY_LOCAL_MACHINE, probe, L"a", L"2");
    const std::vector<NamedValue> values = ValuesInOrder(probe);
    DeleteTree(HKEY_LOCAL_MACHINE, probe);
    return values.size() == 2 && values[0].name == L"b";
}

TEST_F(UninstallKeyTest, AFreshKeyHoldsTheTwelveValuesAndTheQuietCommandWithTypesAndExactSizes)
{
    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 1));

    ASSERT_EQ(ValuesInOrder(kProductKeyPath).size(), ExpectedValues().size());
    for (const NamedValue& expected : ExpectedValues()) {
        SCOPED_TRACE(Narrow(expected.name));
        const auto actual = ReadValue(HKEY_LOCAL_MACHINE, kProductKeyPath, expected.name.c_str());
        ASSERT_TRUE(actual);
        EXPECT_EQ(actual->type, expected.type);
        EXPECT_EQ(actual->data.size(), expected.data.size());
        EXPECT_EQ(actual->data, expected.data);
    }

    ASSERT_EQ(log.NewEntries.size(), 1u);
    const LogEntry& entry = log.NewEntries.back();
    EXPECT_EQ(entry.Type, UninstallKey);
    EXPECT_EQ(entry.Outcome, 1);
    EXPECT_TRUE(entry.BackupPath.empty()) << "a key that did not exist has nothing to save";
    EXPECT_FALSE(log.AwaitingOutcome);
}

TEST_F(UninstallKeyTest, TheValuesAreWrittenInTheirFixedOrder)
{
    if (!EnumerationKeepsWritingOrder())
        GTEST_SKIP() << "this registry enumerates values sorted by name, not in the order written (Wine)";
    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 1));
    const std::vector<NamedValue> actual = ValuesInOrder(kProductKeyPath);
    ASSERT_EQ(actual.size(), ExpectedValues().size());
    for (size_t i = 0; i < actual.size(); ++i)
        EXPECT_EQ(actual[i].name, ExpectedValues()[i].name) << "position " << i;
}

TEST_F(UninstallKeyTest, VaLanguageHoldsTheLanguageIndexNotALanguageIdentifier)
{
    for (DWORD index : {0u, 1u, 19u}) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(WriteUninstallKey(log, kPaths, index));
        const auto value = ReadValue(HKEY_LOCAL_MACHINE, kProductKeyPath, L"VaLanguage");
        ASSERT_TRUE(value);
        EXPECT_EQ(value->type, static_cast<DWORD>(REG_DWORD));
        EXPECT_EQ(value->Dword(), index);
    }
}

TEST_F(UninstallKeyTest, AReusedKeyKeepsForeignValuesAndIsSavedFirst)
{
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"Comments", L"written by somebody else");
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"DisplayName", L"Trelvane 7.08f");

    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 0));
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"Comments"), L"written by somebody else");
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"DisplayName"), L"Trelvane 7.08g");
    EXPECT_EQ(ValuesInOrder(kProductKeyPath).size(), ExpectedValues().size() + 1) << "ours and the foreign one";

    ASSERT_EQ(log.NewEntries.size(), 1u);
    const LogEntry& entry = log.NewEntries.back();
    EXPECT_EQ(entry.Outcome, 1);
    ASSERT_FALSE(entry.BackupPath.empty()) << "the existing key must be saved before it changes";
    EXPECT_NE(::GetFileAttributesW(entry.BackupPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(UninstallKeyTest, RollbackDeletesAKeyThatDidNotExistWithItsSubkeys)
{
    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 1));
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath + L"\\Later", L"Value", L"x");

    log.Rollback();
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKeyPath));
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallRoot));
}

TEST_F(UninstallKeyTest, RollbackPutsAReusedKeyBackAsItWas)
{
    if (!RestoreKeyWorks())
        GTEST_SKIP() << "RegRestoreKeyW reports success here without restoring the key (Wine's stub)";
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"Comments", L"foreign");
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"DisplayName", L"Trelvane 7.08f");
    const std::vector<NamedValue> before = ValuesInOrder(kProductKeyPath);

    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 1));
    log.Rollback();

    const std::vector<NamedValue> after = ValuesInOrder(kProductKeyPath);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].data, before[i].data);
    }
}

TEST_F(UninstallKeyTest, AnUninstallRootThatCannotBeOpenedFailsWithoutJournalEntry)
{
    ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, kUninstallRoot, KEY_CREATE_SUB_KEY);
    ASSERT_TRUE(denial.applied());

    EXPECT_FALSE(WriteUninstallKey(log, kPaths, 1));
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_FALSE(log.AwaitingOutcome);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kProductKeyPath));
}

TEST_F(UninstallKeyTest, TheProgramPathValueIsWrittenWithItsTerminatingZero)
{
    ASSERT_TRUE(WriteProductPathValue(kPaths.mainProgram));
    const auto value = ReadValue(HKEY_LOCAL_MACHINE, kMakerKey, L"Trelvane 7 Path");
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(value->data, SzBytes(kPaths.mainProgram));
    EXPECT_TRUE(log.NewEntries.empty()) << "the value is not journalled";
}

TEST_F(UninstallKeyTest, TheProgramPathValueFailsWhenTheMakersKeyRefusesWriting)
{
    WriteText(HKEY_LOCAL_MACHINE, kMakerKey, L"Other", L"kept");
    {
        ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, kMakerKey, KEY_SET_VALUE);
        ASSERT_TRUE(denial.applied());
        UniqueKey probe;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, KEY_SET_VALUE, probe.put()) == ERROR_SUCCESS)
            GTEST_SKIP() << "this registry does not enforce key access lists";

        EXPECT_FALSE(WriteProductPathValue(kPaths.mainProgram));
    }
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kMakerKey, L"Trelvane 7 Path"));
}

// The transaction rolls back when the value cannot be written, and the
// journal does not know the maker's key: a key made for the value goes
// again, one that was there before stays with its other values.
TEST_F(UninstallKeyTest, AFailedProgramPathValueLeavesTheMakersKeyAsItWas)
{
    {
        ScopedFault fault("write program path");
        EXPECT_FALSE(WriteProductPathValue(kPaths.mainProgram));
    }
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMakerKey));

    WriteText(HKEY_LOCAL_MACHINE, kMakerKey, L"Other", L"kept");
    {
        ScopedFault fault("write program path");
        EXPECT_FALSE(WriteProductPathValue(kPaths.mainProgram));
    }
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kMakerKey, L"Other"), L"kept");
    EXPECT_FALSE(ReadValue(HKEY_LOCAL_MACHINE, kMakerKey, L"Trelvane 7 Path"));
}

// The next start-up finds the installation through what this one wrote.
TEST_F(UninstallKeyTest, TheNextStartUpReadsBackWhatTheInstallationWrote)
{
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    const std::wstring program = std::wstring(temp) + L"tv round trip.exe";
    const HANDLE file = ::CreateFileW(program.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    ::CloseHandle(file);

    ASSERT_TRUE(WriteUninstallKey(log, kPaths, 0));
    ASSERT_TRUE(WriteProductPathValue(program));
    EXPECT_EQ(LookUpInstalledProgramPath(), program);
    const auto language = ReadValue(HKEY_LOCAL_MACHINE, UninstallKeyName(), L"VaLanguage");
    ASSERT_TRUE(language);
    EXPECT_EQ(language->Dword(), 0u);
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, UninstallKeyName(), L"UninstallString"), kPaths.uninstaller);
    ::DeleteFileW(program.c_str());
}


// The journal's record of the key on its own, without the writer: what is
// saved, restored, deleted and discarded.
class UninstallKeyJournal : public testing::Test {
protected:
    void SetUp() override { DeleteTree(HKEY_LOCAL_MACHINE, kProductKeyPath); }
    void TearDown() override { DeleteTree(HKEY_LOCAL_MACHINE, kProductKeyPath); }

    // The product key with one value and a subkey, as the registry step leaves it.
    static HKEY CreateProductKey(const wchar_t* displayName, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kProductKeyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
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

    static bool ProductKeyExists() { return KeyExists(HKEY_LOCAL_MACHINE, kProductKeyPath); }
};

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
    if (!RestoreKeyWorks())
        GTEST_SKIP() << "RegRestoreKeyW reports success here without restoring the key (Wine's stub)";
    EXPECT_EQ(ReadText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"DisplayName"), L"Old");
    EXPECT_NE(::RegGetValueW(HKEY_LOCAL_MACHINE, kProductKeyPath.c_str(), L"Added", RRF_RT_ANY, nullptr, nullptr,
                             nullptr),
              ERROR_SUCCESS);
}

// Whether this registry refuses a key's handle that its access list denies.
bool KeyAccessListsEnforced(const std::wstring& subkey, DWORD access)
{
    UniqueKey probe;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, subkey.c_str(), 0, access, probe.put()) != ERROR_SUCCESS;
}

// A key the rollback cannot reach is reported, and a saved one stays saved.
TEST_F(UninstallKeyJournal, RollbackReportsAKeyItCouldNotUndo)
{
    // No trace here: a skip would report the trace instead of its reason.
    for (bool existed : {true, false}) {
        const char* which = existed ? "a key that existed" : "a new key";
        DeleteTree(HKEY_LOCAL_MACHINE, kProductKeyPath);
        UninstallLog log;
        if (existed) {
            HKEY key = CreateProductKey(L"Old");
            ASSERT_EQ(log.RecordUninstallKey(key), DWORD{ERROR_SUCCESS});
            SetValue(key, L"DisplayName", L"New");
            ::RegCloseKey(key);
        } else {
            ASSERT_EQ(log.RecordUninstallKey(nullptr), DWORD{ERROR_SUCCESS});
            ::RegCloseKey(CreateProductKey(L"New"));
        }
        log.CommitOutcome(1);
        const std::wstring backup = log.NewEntries.back().BackupPath;

        std::vector<RollbackFailure> failures;
        {
            ScopedKeyDenial denial(HKEY_LOCAL_MACHINE, kProductKeyPath, KEY_SET_VALUE | DELETE);
            ASSERT_TRUE(denial.applied());
            if (!KeyAccessListsEnforced(kProductKeyPath, existed ? KEY_SET_VALUE : DELETE)) {
                log.Rollback();
                GTEST_SKIP() << "this registry does not enforce the key's access list for "
                             << (existed ? "changing values" : "deleting it");
            }
            failures = log.Rollback();
        }
        ASSERT_EQ(failures.size(), 1u) << which;
        EXPECT_EQ(failures[0].Type, UninstallKey) << which;
        EXPECT_EQ(failures[0].Path, kProductKeyPath) << which;
        EXPECT_NE(failures[0].Error, DWORD{ERROR_SUCCESS}) << which;
        EXPECT_EQ(failures[0].BackupPath, backup) << which;
        if (existed) {
            EXPECT_TRUE(Exists(backup)) << "the saved key is kept";
            ::DeleteFileW(backup.c_str());
        }
        EXPECT_TRUE(ProductKeyExists()) << which;
    }
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

// A key that exists but cannot be saved is not journalled at all: an entry
// without a backup would make the rollback delete it.
TEST(RecordUninstallKey, AFailedSaveLeavesNoBackupAndNoEntry)
{
    const int before = CountBackupNames();
    UninstallLog log;
    EXPECT_NE(log.RecordUninstallKey(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFFFFF0))),  // no such key
              DWORD{ERROR_SUCCESS});
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_EQ(CountBackupNames(), before);
    EXPECT_FALSE(log.AwaitingOutcome);
}

// The previous installation's key cannot be saved (no room in the temporary
// folder for the backup's name): the step fails without changing the key,
// and the rollback leaves it.
TEST_F(UninstallKeyTest, AnExistingKeyThatCannotBeSavedIsLeftAsItWas)
{
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"DisplayName", L"Trelvane 7.08f");
    WriteText(HKEY_LOCAL_MACHINE, kProductKeyPath, L"UninstallString", L"C:\\Old\\Uninstall.exe");
    const std::vector<NamedValue> before = ValuesInOrder(kProductKeyPath);
    ScratchFolder s;
    {
        TemporaryPathOverride temp(MakeFolderOfLength(s.Path(), 248));
        if (!temp.Applied())
            GTEST_SKIP() << "this system does not take the temporary path from TMP as given";
        EXPECT_FALSE(WriteUninstallKey(log, kPaths, 1));
    }
    EXPECT_TRUE(log.NewEntries.empty());
    EXPECT_FALSE(log.AwaitingOutcome);
    log.CommitOutcome(0);
    log.Rollback();
    const std::vector<NamedValue> after = ValuesInOrder(kProductKeyPath);
    ASSERT_EQ(after.size(), before.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(after[i].name, before[i].name);
        EXPECT_EQ(after[i].data, before[i].data);
    }
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

    ScratchFolder s;
    EXPECT_TRUE(log.WriteLog(s / L"Uninstall.ulog", s.Path(), L""));
    EXPECT_FALSE(Exists(backup));
    EXPECT_TRUE(ProductKeyExists());
}

}  // namespace
}  // namespace va::test
