// The file "/log=FILE" names is written as administrator: never through a
// link or a second name of another file, and a relative name keeps naming
// the same file after the current folder changes.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "support/log_file_open.h"
#include "tests/common/host_links.h"
#include "tests/common/scratch_folder.h"

namespace va::test {
namespace {

TEST(LogFileOpen, ALinkOrASecondNameIsRefusedAndWhatItLeadsToIsLeft)
{
    ScratchFolder scratch;
    const std::wstring victim = scratch / L"victim.txt";
    ASSERT_TRUE(WriteBytes(victim, "precious"));

    const std::wstring secondName = scratch / L"second.log";
    ASSERT_TRUE(::CreateHardLinkW(secondName.c_str(), victim.c_str(), nullptr));
    for (const bool append : {false, true}) {
        DWORD error = 0;
        EXPECT_FALSE(OpenLogFileWithoutLinks(secondName, append, error)) << append;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_TOO_MANY_LINKS));
    }
    EXPECT_EQ(ReadBytes(victim), "precious");

    const std::wstring link = scratch / L"link.log";
    if (!MakeFileLink(link, victim))
        GTEST_SKIP() << "no link to a file that reads back as a reparse point could be made here (Wine 8 reads "
                        "a host link to a file as the file itself)";
    for (const bool append : {false, true}) {
        DWORD error = 0;
        EXPECT_FALSE(OpenLogFileWithoutLinks(link, append, error)) << append;
        EXPECT_EQ(error, static_cast<DWORD>(ERROR_CANT_ACCESS_FILE));
    }
    EXPECT_EQ(ReadBytes(victim), "precious");
    RemoveFolderLink(link);
}

TEST(LogFileOpen, APlainFileIsEmptiedOrAppendedTo)
{
    ScratchFolder scratch;
    const std::wstring log = scratch / L"run.log";
    ASSERT_TRUE(WriteBytes(log, "earlier run\r\n"));
    DWORD error = 0;
    {
        UniqueFile appended = OpenLogFileWithoutLinks(log, true, error);
        ASSERT_TRUE(appended) << error;
        DWORD written = 0;
        ASSERT_TRUE(::WriteFile(appended.get(), "more\r\n", 6, &written, nullptr));
    }
    EXPECT_EQ(ReadBytes(log), "earlier run\r\nmore\r\n");
    {
        UniqueFile fresh = OpenLogFileWithoutLinks(log, false, error);
        ASSERT_TRUE(fresh) << error;
    }
    EXPECT_EQ(ReadBytes(log), "");
    const std::wstring made = scratch / L"new.log";
    EXPECT_TRUE(OpenLogFileWithoutLinks(made, false, error)) << error;
    EXPECT_EQ(ReadBytes(made), "");
}

TEST(LogFileOpen, ARelativeNameIsMadeFullAgainstTheCurrentFolder)
{
    ScratchFolder scratch;
    wchar_t before[MAX_PATH] = {};
    ::GetCurrentDirectoryW(MAX_PATH, before);
    ASSERT_TRUE(::SetCurrentDirectoryW(scratch.Path().c_str()));
    const std::wstring full = AbsoluteLogPath(L"logs\\u.log");
    ::SetCurrentDirectoryW(before);
    EXPECT_EQ(full, scratch / L"logs\\u.log");
    EXPECT_EQ(AbsoluteLogPath(L""), L"");
    EXPECT_EQ(AbsoluteLogPath(L"C:\\a\\b.log"), L"C:\\a\\b.log");
}

}  // namespace
}  // namespace va::test
