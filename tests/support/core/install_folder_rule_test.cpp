// Drive and share roots are never an installation folder.

#include <gtest/gtest.h>

#include <string>

#include "support/core/install_folder_rule.h"

namespace {

TEST(InstallFolderRule, DriveAndShareRootsAreToldApart)
{
    const struct {
        const wchar_t* folder;
        bool root;
    } cases[] = {
        {L"C:\\", true},           {L"C:", true},
        {L"c:/", true},            {L"C:\\\\", true},
        {L"\\\\server\\share", true}, {L"\\\\server\\share\\", true},
        {L"//server/share/", true}, {L"\\\\server", true},
        {L"C:\\Apps", false},      {L"C:\\Apps\\", false},
        {L"\\\\server\\share\\Apps", false}, {L"Apps", false},
        {L"", false},
    };
    for (const auto& c : cases) {
        const std::wstring text = c.folder;
        EXPECT_EQ(va::IsDriveOrShareRoot(c.folder), c.root) << std::string(text.begin(), text.end());
    }
}

}  // namespace
