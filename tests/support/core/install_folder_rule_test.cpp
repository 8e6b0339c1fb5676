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

// The system drops a component's trailing dots and spaces: such a folder
// would be made under another name than the one the log keeps, so every
// side refuses it alike, whatever form the rest of the text has.
TEST(InstallFolderRule, OneRuleForTheSwitchThePageAndTheBrowser)
{
    using va::FolderForm;
    using va::FolderProblem;
    const struct {
        const wchar_t* folder;
        FolderProblem full;     // the /dir switch, the browser
        FolderProblem asTyped;  // the Folder page
    } cases[] = {
        {L"C:\\Apps\\Trelvane", FolderProblem::None, FolderProblem::None},
        {L"C:\\Apps\\Trelvane\\", FolderProblem::None, FolderProblem::None},
        {L"C:\\Apps\\Trelvane 7.08g", FolderProblem::None, FolderProblem::None},
        {L"C:\\Apps\\.config", FolderProblem::None, FolderProblem::None},
        {L"C:\\Apps\\Trelvane.", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"C:\\Apps\\Trelvane...\\", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"C:\\Apps\\Trelvane ", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"C:\\Apps. \\Trelvane", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"\\\\server\\share\\Trelvane.", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"C:\\Apps\\..\\Trelvane", FolderProblem::BadCharacters, FolderProblem::BadCharacters},
        {L"C:\\", FolderProblem::Root, FolderProblem::Root},
        {L"\\\\server\\share\\", FolderProblem::Root, FolderProblem::Root},
        {L"\\\\server", FolderProblem::Relative, FolderProblem::Relative},
        {L"relative\\New Folder", FolderProblem::Relative, FolderProblem::None},
        {L"relative\\New Folder.", FolderProblem::Relative, FolderProblem::BadCharacters},
        {L"a|b", FolderProblem::Relative, FolderProblem::BadCharacters},
        {L"", FolderProblem::Relative, FolderProblem::Relative},
    };
    for (const auto& c : cases) {
        const std::wstring text = c.folder;
        SCOPED_TRACE(std::string(text.begin(), text.end()));
        EXPECT_EQ(va::CheckInstallFolder(c.folder), c.full);
        EXPECT_EQ(va::CheckInstallFolder(c.folder, FolderForm::AsTyped), c.asTyped);
    }
}

}  // namespace
