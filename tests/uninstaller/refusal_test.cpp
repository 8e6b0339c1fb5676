// Every refusal removes nothing and tells why through its exit code; in
// quiet mode without a window.  A log the uninstaller cannot read whole is
// one of them.

#include <windows.h>
#include <aclapi.h>

#include <gmock/gmock.h>

#include <string>

#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "support/utf8_text.h"
#include "tests/common/access_lists.h"
#include "tests/common/file_bytes.h"
#include "tests/uninstaller/uninstall_fixture.h"

namespace va::test {
namespace {

using testing::IsEmpty;

class Refusal : public UninstallTest {
protected:
    void SetUp() override
    {
        UninstallTest::SetUp();
        installation_ = InstallDemo();
        installed_ = MachineSnapshot::Take();
    }
    // Runs quietly; nothing may change (but `changed`, which the test
    // changed itself) and no window may show.
    DWORD RunAndExpectNothingChanged(const std::wstring& arguments, const std::vector<std::wstring>& changed = {})
    {
        ProcessGroup group(installation_.uninstaller, arguments);
        bool windowSeen = false;
        const ULONGLONG end = ::GetTickCount64() + kUninstallLimitMs;
        while (::WaitForSingleObject(group.First().handle.get(), 20) == WAIT_TIMEOUT && ::GetTickCount64() < end)
            windowSeen = windowSeen || !DialogsOf(group.First().id).empty();
        const DWORD code = group.WaitForFirst(0);
        EXPECT_TRUE(group.WaitForAll(kUninstallLimitMs));
        EXPECT_FALSE(windowSeen) << "a quiet run showed a window";
        EXPECT_THAT(Differences(installed_, MachineSnapshot::Take(), changed), IsEmpty());
        return code;
    }

    DemoInstallation installation_;
    MachineSnapshot installed_;
};

TEST_F(Refusal, ABadCommandLineRefusesTheRun)
{
    const struct {
        const wchar_t* arguments;
        DWORD exitCode;
    } cases[] = {
        {L"/bogus /quiet", 87},
        {L"/quiet /purge=yes", 87},
        {L"/quiet /log=Z:\\no such folder\\here\\u.log", 87},
        {L"/quiet /?", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.arguments, c.arguments + wcslen(c.arguments)));
        EXPECT_EQ(RunAndExpectNothingChanged(c.arguments), c.exitCode);
    }
}

TEST_F(Refusal, WhileTheInstallerRunsNothingIsRemoved)
{
    InstanceMutex installer;
    installer.Create(InstanceMutexName(L"Trelvane7"), true);
    ASSERT_TRUE(installer.owned());
    EXPECT_EQ(RunAndExpectNothingChanged(L"/quiet"), 1618u);
}

TEST_F(Refusal, WhileTheProductRunsNothingIsRemoved)
{
    InstanceCounter product;
    product.Register(L"Trelvane7");
    ASSERT_EQ(product.Count(), 1);
    EXPECT_EQ(RunAndExpectNothingChanged(L"/quiet"), 170u);
}

// Rewrites the installation's log (read-only, as its writer left it).
void ReplaceLog(const DemoInstallation& d, const std::string& bytes)
{
    ::SetFileAttributesW(d.log.c_str(), FILE_ATTRIBUTE_NORMAL);
    UniqueFile out(::CreateFileW(d.log.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(out);
    DWORD written = 0;
    ASSERT_TRUE(::WriteFile(out.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
}

std::string Utf16(const std::wstring& text)
{
    return std::string(reinterpret_cast<const char*>(text.data()), text.size() * 2);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    const std::size_t at = text.find(from);
    if (at != std::string::npos)
        text.replace(at, from.size(), to);
    return text;
}

std::wstring ParentOf(const std::wstring& path)
{
    return path.substr(0, path.find_last_of(L'\\'));
}

TEST_F(Refusal, ADamagedOrMissingLogRemovesNothing)
{
    const DemoInstallation& d = installation_;
    const std::string good = FileBytes(d.log);
    ASSERT_GT(good.size(), 200u);
    const std::size_t lastLine = good.rfind(Utf16(L"\r\n"), good.size() - 5) + 4;
    const struct {
        const char* name;
        std::string bytes;
        DWORD exitCode;
    } cases[] = {
        {"blank line before the last entry", good.substr(0, lastLine) + Utf16(L"\r\n") + good.substr(lastLine), 1610},
        {"entry of an unknown type", good + Utf16(L"0999:08ff:1 -- C:\\x\r\n"), 1610},
        {"another version", Utf16(L"\xFEFF// Uninstall Log File v2\r\n") + good.substr(good.find(Utf16(L"\r\n")) + 4), 1610},
        // The log beside the uninstaller names another installation folder.
        {"another installation folder", Replaced(good, Utf16(L"Install Path : " + d.installFolder),
                                                  Utf16(L"Install Path : " + ParentOf(d.installFolder))), 1610},
        {"a Start-menu folder outside the Start menu", Replaced(good, Utf16(L"Shortcut Path : " + d.startMenuFolder),
                                                                 Utf16(L"Shortcut Path : " + d.installFolder)), 1610},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ReplaceLog(d, c.bytes);
        EXPECT_EQ(RunAndExpectNothingChanged(L"/quiet /log=\"" + runLog_ + L"\"", {d.log}), c.exitCode);
        EXPECT_THAT(RunLogText(), testing::HasSubstr("Uninstall.ulog' is damaged"));
    }
    // No log at all: the product is not installed as far as the uninstaller
    // can tell, and nothing else goes.
    ::SetFileAttributesW(d.log.c_str(), FILE_ATTRIBUTE_NORMAL);
    ASSERT_TRUE(::DeleteFileW(d.log.c_str()));
    installed_ = MachineSnapshot::Take();
    EXPECT_EQ(RunAndExpectNothingChanged(L"/quiet"), 1605u);
}

// Gives `path` exactly the access list `sddl`; true when it reads back so
// (Wine answers with a list made from the file's mode instead).
bool SetAccessList(const std::wstring& path, const wchar_t* sddl, std::wstring& readBack)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const UniqueLocal owned(descriptor);
    ::SetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, descriptor);
    readBack = AccessText(path);
    return readBack == CanonicalAccess(sddl);
}

// An older installation in a folder of the user's choosing let every
// signed-in user modify its log: such a log is damaged, and the run log
// says who may change it.  The recovery the README gives (the folder's list
// set as a new installation folder gets it) makes the log usable again.
TEST_F(Refusal, ALogThatStandardUsersMayChangeIsDamaged)
{
    const DemoInstallation& d = installation_;
    const wchar_t* inherited = L"D:AI(A;ID;FA;;;BA)(A;ID;FA;;;SY)(A;ID;0x1301bf;;;AU)(A;ID;0x1200a9;;;BU)";
    std::wstring readBack;
    if (!SetAccessList(d.log, inherited, readBack))
        GTEST_SKIP() << "this system does not keep a file's access list (read back: " << Utf8(readBack)
                     << "): a log that users may change cannot be staged";
    installed_ = MachineSnapshot::Take();
    EXPECT_EQ(RunAndExpectNothingChanged(L"/quiet /log=\"" + runLog_ + L"\""), 1610u);
    EXPECT_THAT(RunLogText(), testing::HasSubstr("the log can be changed by S-1-5-11"));

    // The recovery: the installation folder's own list, nothing inherited,
    // handed down to what it holds (as icacls /inheritance:r /grant:r does).
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        L"D:P(A;OICI;FA;;;BA)(A;OICI;FA;;;SY)(A;OICI;0x1200a9;;;BU)", SDDL_REVISION_1, &descriptor, nullptr));
    const UniqueLocal owned(descriptor);
    BOOL present = FALSE, defaulted = FALSE;
    PACL list = nullptr;
    ASSERT_TRUE(::GetSecurityDescriptorDacl(descriptor, &present, &list, &defaulted));
    std::wstring folder = ParentOf(d.log);
    ASSERT_EQ(::SetNamedSecurityInfoW(folder.data(), SE_FILE_OBJECT,
                                      DACL_SECURITY_INFORMATION | PROTECTED_DACL_SECURITY_INFORMATION, nullptr,
                                      nullptr, list, nullptr),
              DWORD{ERROR_SUCCESS});
    EXPECT_THAT(Utf8(AccessText(d.log)), testing::Not(testing::HasSubstr(";AU)"))) << "not handed down";
    EXPECT_EQ(RunQuietly(d), 0u) << RunLogText();
}

}  // namespace
}  // namespace va::test
