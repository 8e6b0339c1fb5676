#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <ios>
#include <new>
#include <stdexcept>
#include <system_error>

#include <boost/system/system_error.hpp>

#include "support/error_text.h"
#include "support/exception_text.h"
#include "support/exceptions.h"
#include "support/message_hooks.h"

namespace {

const std::wstring kNoMessage = L"No error message is available.";

std::wstring Sys(DWORD code)
{
    return va::SystemErrorText(code, 0);
}

std::wstring Composite(int code, const std::exception& e)
{
    std::wstring what;
    for (const char* p = e.what(); *p; ++p)
        what.push_back(static_cast<unsigned char>(*p));  // ASCII in these cases
    return kNoMessage + L" (" + std::to_wstring(code) + L": " + what + L")";
}

class ExceptionTextTest : public ::testing::Test {
protected:
    void SetUp() override { va::InstallDefaultMessageHooks(); }
};

TEST_F(ExceptionTextTest, SystemErrorsByCategory)
{
    const std::system_error unmapped(3, std::generic_category(), "open");
    const std::system_error other(1, std::iostream_category(), "read");
    struct Case {
        const char* what;
        std::system_error error;
        std::wstring expected;
    };
    const Case cases[] = {
        // The runtime's "no such file or directory" is reported as a missing path.
        {"generic 2", std::system_error(2, std::generic_category()), Sys(ERROR_PATH_NOT_FOUND)},
        {"generic 13: access denied", std::system_error(13, std::generic_category()), Sys(ERROR_ACCESS_DENIED)},
        {"generic 16: busy", std::system_error(16, std::generic_category()), Sys(ERROR_BUSY)},
        {"generic 140", std::system_error(140, std::generic_category()), Sys(997)},
        {"generic 33: program string", std::system_error(33, std::generic_category()),
         L"Encountered an improper argument."},
        {"generic 34", std::system_error(34, std::generic_category()), L"Encountered an improper argument."},
        {"generic 129", std::system_error(129, std::generic_category()), L"Attempted an unsupported operation."},
        {"generic unmapped", unmapped, Composite(3, unmapped)},
        {"other category", other, Composite(1, other)},
        {"system 170", std::system_error(170, std::system_category()), Sys(ERROR_BUSY)},
        {"system HRESULT", std::system_error(int(0x80070005), std::system_category()), Sys(0x80070005)},
        {"system customer code", std::system_error(int(0xA8000000 | 61704), std::system_category()),
         L"Internal application error."},
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::ExceptionText(c.error), c.expected) << c.what;
}

TEST_F(ExceptionTextTest, BoostSystemErrorsByCategory)
{
    namespace bs = boost::system;
    EXPECT_EQ(va::ExceptionText(bs::system_error(2, bs::generic_category())), Sys(ERROR_PATH_NOT_FOUND));
    EXPECT_EQ(va::ExceptionText(bs::system_error(ERROR_BUSY, bs::system_category())), Sys(ERROR_BUSY));
    const bs::system_error unmapped(3, bs::generic_category(), "open");
    EXPECT_EQ(va::ExceptionText(unmapped), Composite(3, unmapped));
}

TEST_F(ExceptionTextTest, FilesystemErrorsNameTheirFirstPath)
{
    const std::filesystem::filesystem_error withPath("copy", std::filesystem::path(L"C:\\Data\\a.txt"),
                                                     std::error_code(2, std::generic_category()));
    EXPECT_EQ(va::ExceptionText(withPath), Sys(ERROR_PATH_NOT_FOUND) + L" (C:\\Data\\a.txt)");

    const std::filesystem::filesystem_error withoutPath("copy", std::error_code(5, std::system_category()));
    EXPECT_EQ(va::ExceptionText(withoutPath), Sys(ERROR_ACCESS_DENIED));
}

TEST_F(ExceptionTextTest, OwnAndStandardExceptionKinds)
{
    const boost::archive::archive_exception archive(boost::archive::archive_exception::unregistered_class);
    const va::archive_exception ownArchive(boost::archive::archive_exception::invalid_signature);
    struct Case {
        const char* what;
        const std::exception& error;
        std::wstring expected;
    };
    const va::exception utf8("r\xC3\xA9pertoire introuvable");
    const va::exception latin1("r\xE9pertoire");
    const va::exception empty;
    const va::details::_simple_exception simple("plain");
    const std::invalid_argument invalid("bad");
    const std::out_of_range range("range");
    const std::logic_error logic("logic error");
    const std::runtime_error runtime("runtime");
    const std::bad_alloc memory;
    const Case cases[] = {
        {"archive", archive, Composite(archive.code, archive)},
        {"own archive", ownArchive, Composite(ownArchive.code, ownArchive)},
        {"own, UTF-8", utf8, L"r\u00E9pertoire introuvable"},
        {"own, not UTF-8", latin1, L"r\u00E9pertoire"},
        {"own, empty", empty, kNoMessage},
        {"simple", simple, L"plain"},
        {"invalid argument", invalid, Sys(ERROR_INVALID_PARAMETER)},
        {"other logic error", range, L"Internal application error."},
        {"logic error", logic, L"Internal application error."},
        {"runtime error", runtime, kNoMessage},
        {"bad_alloc", memory, kNoMessage},
    };
    for (const Case& c : cases)
        EXPECT_EQ(va::ExceptionText(c.error), c.expected) << c.what;
}

TEST_F(ExceptionTextTest, AnyCaughtException)
{
    EXPECT_EQ(va::ExceptionText(std::make_exception_ptr(42)), kNoMessage);
    EXPECT_EQ(va::ExceptionText(std::make_exception_ptr(std::invalid_argument("x"))), Sys(87));
    EXPECT_EQ(va::ExceptionText(std::exception_ptr()), kNoMessage);
}

}  // namespace
