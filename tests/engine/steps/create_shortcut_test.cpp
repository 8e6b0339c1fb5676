#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "engine/steps/shortcuts.h"
#include "support/fault_point.h"
#include "tests/engine/steps/shortcut_test_util.h"

namespace va::test {
namespace {

class CreateShortcutTest : public testing::Test {
protected:
    void SetUp() override
    {
        folder_ = TempFolder(L"tv create shortcut");
        programs_ = folder_ + L"\\Program Folder";
        ::CreateDirectoryW(folder_.c_str(), nullptr);
        ::CreateDirectoryW(programs_.c_str(), nullptr);
        for (const wchar_t* name : {L"\\Trelvane.exe", L"\\archive.tar.gz"})
            Touch(programs_ + name);
    }
    void TearDown() override
    {
        for (const wchar_t* name : {L"\\Trelvane.exe", L"\\archive.tar.gz"})
            ::DeleteFileW((programs_ + name).c_str());
        for (const wchar_t* name : {L"\\Trelvane 7.08g.lnk", L"\\Trelvane.lnk", L"\\archive.tar.lnk"})
            ::DeleteFileW((folder_ + name).c_str());
        ::RemoveDirectoryW(programs_.c_str());
        ::RemoveDirectoryW(folder_.c_str());
    }

    std::wstring folder_;
    std::wstring programs_;
};

TEST_F(CreateShortcutTest, HoldsTheTargetAndItsFolderUnderTheChosenName)
{
    const std::wstring given = L"Trelvane 7.08g";
    const struct {
        const char* rule;
        const wchar_t* target;
        const std::wstring* name;
        const wchar_t* linkName;
    } cases[] = {
        {"given name", L"\\Trelvane.exe", &given, L"\\Trelvane 7.08g.lnk"},
        {"target's name", L"\\Trelvane.exe", nullptr, L"\\Trelvane.lnk"},
        {"only the last extension goes", L"\\archive.tar.gz", nullptr, L"\\archive.tar.lnk"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.rule);
        const std::wstring target = programs_ + c.target;
        std::wstring linkPath;
        ASSERT_EQ(CreateShortcut(target, folder_, c.name, &linkPath), S_OK);
        EXPECT_EQ(linkPath, folder_ + c.linkName);

        const LinkContent content = ReadLink(linkPath);
        ASSERT_TRUE(content.loaded);
        EXPECT_EQ(content.target, target);
        EXPECT_EQ(content.workingFolder, programs_);
        // Nothing but the target and its folder is set.
        EXPECT_EQ(content.arguments, L"");
        EXPECT_EQ(content.description, L"");
        EXPECT_EQ(content.iconLocation, L"");
        EXPECT_EQ(content.hotKey, 0);
        EXPECT_EQ(content.showCommand, SW_SHOWNORMAL);
    }
}

// COM calls that count themselves.
int g_initialized, g_created, g_uninitialized;
HRESULT g_initializeResult;
HRESULT CountingInitialize()
{
    ++g_initialized;
    return g_initializeResult;
}
HRESULT FailingCreate(IShellLinkW** link)
{
    ++g_created;
    *link = nullptr;
    return REGDB_E_CLASSNOTREG;
}
void CountingUninitialize()
{
    ++g_uninitialized;
}
const ShortcutComCalls kCountingCalls{CountingInitialize, FailingCreate, CountingUninitialize};

TEST_F(CreateShortcutTest, FailsBeforeAnyComCallWhenThePathsCannotBeMade)
{
    const std::wstring tooLongFolder = L"C:\\" + std::wstring(255, L'f');
    constexpr HRESULT kTooLong = HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
    const struct {
        const char* why;
        std::wstring target;
        std::wstring folder;
        HRESULT code;
    } cases[] = {
        {"target without a folder", L"Trelvane.exe", folder_, E_INVALIDARG},
        {"link path beyond MAX_PATH", programs_ + L"\\Trelvane.exe", tooLongFolder, kTooLong},
        {"target beyond MAX_PATH", L"C:\\" + std::wstring(260, L't') + L".exe", folder_, kTooLong},
        {"no folder for the link", programs_ + L"\\Trelvane.exe", L"", E_INVALIDARG},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        g_initialized = g_created = g_uninitialized = 0;
        g_initializeResult = S_OK;
        std::wstring linkPath = L"untouched";
        EXPECT_EQ(CreateShortcut(c.target, c.folder, nullptr, &linkPath, kCountingCalls), c.code);
        EXPECT_EQ(linkPath, L"untouched");
        EXPECT_EQ(g_initialized + g_created + g_uninitialized, 0);
    }
}

TEST_F(CreateShortcutTest, BalancesComInitialisationOnEveryPathThatStartedIt)
{
    const struct {
        const char* situation;
        HRESULT initialize;
        int created;
        int uninitialized;
        HRESULT code;  // the failing call's, passed on
    } cases[] = {
        {"initialised", S_OK, 1, 1, REGDB_E_CLASSNOTREG},
        {"already initialised", S_FALSE, 1, 1, REGDB_E_CLASSNOTREG},
        {"initialisation refused", RPC_E_CHANGED_MODE, 0, 0, RPC_E_CHANGED_MODE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.situation);
        g_initialized = g_created = g_uninitialized = 0;
        g_initializeResult = c.initialize;
        std::wstring linkPath = L"untouched";
        EXPECT_EQ(CreateShortcut(programs_ + L"\\Trelvane.exe", folder_, nullptr, &linkPath, kCountingCalls), c.code);
        EXPECT_EQ(linkPath, L"untouched");
        EXPECT_EQ(g_initialized, 1);
        EXPECT_EQ(g_created, c.created);
        EXPECT_EQ(g_uninitialized, c.uninitialized);
    }
}

// The system's link, except that SetPath or SetWorkingDirectory fails when
// asked to.
HRESULT g_setPathResult = S_OK, g_setFolderResult = S_OK;
class RefusingLink final : public IShellLinkW {
public:
    explicit RefusingLink(IShellLinkW* inner) : inner_(inner) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == IID_IUnknown || id == IID_IShellLinkW) {
            *object = static_cast<IShellLinkW*>(this);
            AddRef();
            return S_OK;
        }
        return inner_->QueryInterface(id, object);
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++count_; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        if (--count_ != 0)
            return count_;
        inner_->Release();
        delete this;
        return 0;
    }
    HRESULT STDMETHODCALLTYPE GetPath(LPWSTR a, int b, WIN32_FIND_DATAW* c, DWORD d) override { return inner_->GetPath(a, b, c, d); }
    HRESULT STDMETHODCALLTYPE GetIDList(PIDLIST_ABSOLUTE* a) override { return inner_->GetIDList(a); }
    HRESULT STDMETHODCALLTYPE SetIDList(PCIDLIST_ABSOLUTE a) override { return inner_->SetIDList(a); }
    HRESULT STDMETHODCALLTYPE GetDescription(LPWSTR a, int b) override { return inner_->GetDescription(a, b); }
    HRESULT STDMETHODCALLTYPE SetDescription(LPCWSTR a) override { return inner_->SetDescription(a); }
    HRESULT STDMETHODCALLTYPE GetWorkingDirectory(LPWSTR a, int b) override { return inner_->GetWorkingDirectory(a, b); }
    HRESULT STDMETHODCALLTYPE SetWorkingDirectory(LPCWSTR a) override
    {
        return FAILED(g_setFolderResult) ? g_setFolderResult : inner_->SetWorkingDirectory(a);
    }
    HRESULT STDMETHODCALLTYPE GetArguments(LPWSTR a, int b) override { return inner_->GetArguments(a, b); }
    HRESULT STDMETHODCALLTYPE SetArguments(LPCWSTR a) override { return inner_->SetArguments(a); }
    HRESULT STDMETHODCALLTYPE GetHotkey(WORD* a) override { return inner_->GetHotkey(a); }
    HRESULT STDMETHODCALLTYPE SetHotkey(WORD a) override { return inner_->SetHotkey(a); }
    HRESULT STDMETHODCALLTYPE GetShowCmd(int* a) override { return inner_->GetShowCmd(a); }
    HRESULT STDMETHODCALLTYPE SetShowCmd(int a) override { return inner_->SetShowCmd(a); }
    HRESULT STDMETHODCALLTYPE GetIconLocation(LPWSTR a, int b, int* c) override { return inner_->GetIconLocation(a, b, c); }
    HRESULT STDMETHODCALLTYPE SetIconLocation(LPCWSTR a, int b) override { return inner_->SetIconLocation(a, b); }
    HRESULT STDMETHODCALLTYPE SetRelativePath(LPCWSTR a, DWORD b) override { return inner_->SetRelativePath(a, b); }
    HRESULT STDMETHODCALLTYPE Resolve(HWND a, DWORD b) override { return inner_->Resolve(a, b); }
    HRESULT STDMETHODCALLTYPE SetPath(LPCWSTR a) override
    {
        return FAILED(g_setPathResult) ? g_setPathResult : inner_->SetPath(a);
    }

private:
    IShellLinkW* inner_;
    ULONG count_ = 1;
};

HRESULT RefusingCreate(IShellLinkW** link)
{
    IShellLinkW* inner = nullptr;
    const HRESULT result = SystemShortcutComCalls().createLink(&inner);
    if (FAILED(result))
        return result;
    *link = new RefusingLink(inner);
    return S_OK;
}

// The save refused with this error when it is not ERROR_SUCCESS.
DWORD g_saveFailure = ERROR_SUCCESS;
DWORD RefusingSave(const char* operation, DWORD)
{
    return std::string_view(operation) == "save shortcut" ? g_saveFailure : ERROR_SUCCESS;
}

// A link whose target or working folder could not be set, or that could not
// be saved, is no link; the failing call's code is what the caller gets.
TEST_F(CreateShortcutTest, FailsWithTheCodeOfTheCallThatFailed)
{
    const ShortcutComCalls refusing{SystemShortcutComCalls().initialize, RefusingCreate,
                                    SystemShortcutComCalls().uninitialize};
    const struct {
        const char* refused;
        HRESULT setPath;
        HRESULT setFolder;
        DWORD save;
        HRESULT code;
    } cases[] = {
        {"nothing", S_OK, S_OK, ERROR_SUCCESS, S_OK},
        {"the target", E_INVALIDARG, S_OK, ERROR_SUCCESS, E_INVALIDARG},
        {"the working folder", S_OK, E_OUTOFMEMORY, ERROR_SUCCESS, E_OUTOFMEMORY},
        {"the save", S_OK, S_OK, ERROR_ACCESS_DENIED, HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED)},
    };
    SetFaultHook(RefusingSave);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.refused);
        ::DeleteFileW((folder_ + L"\\Trelvane.lnk").c_str());
        g_setPathResult = c.setPath;
        g_setFolderResult = c.setFolder;
        g_saveFailure = c.save;
        const bool made = c.code == S_OK;
        std::wstring linkPath = L"untouched";
        EXPECT_EQ(CreateShortcut(programs_ + L"\\Trelvane.exe", folder_, nullptr, &linkPath, refusing), c.code);
        EXPECT_EQ(linkPath, made ? folder_ + L"\\Trelvane.lnk" : L"untouched");
        EXPECT_EQ(::GetFileAttributesW((folder_ + L"\\Trelvane.lnk").c_str()) != INVALID_FILE_ATTRIBUTES, made);
    }
    SetFaultHook(nullptr);
    g_setPathResult = g_setFolderResult = S_OK;
    g_saveFailure = ERROR_SUCCESS;
}

}  // namespace
}  // namespace va::test
