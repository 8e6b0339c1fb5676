#include <gtest/gtest.h>

#include "uninstaller/core/product_areas.h"

namespace va::uninstall {
namespace {

std::string Narrow(std::wstring_view text)
{
    return std::string(text.begin(), text.end());
}

ProductAreas TypicalAreas()
{
    ProductAreas areas;
    areas.AddRoot(L"C:\\Program Files\\Vantaro\\Trelvane 7");
    areas.AddRoot(L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Vantaro\\Trelvane 7");
    areas.AddRoot(L"C:\\Users\\Public\\Desktop");
    areas.AddRoot(L"C:\\ProgramData\\Vantaro\\Trelvane 7");
    areas.AddRoot(L"relative\\ignored");
    for (const wchar_t* system : {L"C:\\Program Files", L"C:\\ProgramData", L"C:\\Users\\Public\\Desktop",
                                  L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", L"C:\\Windows"})
        areas.AddProtected(system);
    return areas;
}

TEST(ProductAreas, FilesOnlyInsideTheProductsFolders)
{
    const ProductAreas areas = TypicalAreas();
    const struct {
        const wchar_t* path;
        bool removable;
    } cases[] = {
        {L"C:\\Program Files\\Vantaro\\Trelvane 7\\Trelvane.exe", true},
        {L"c:\\program files\\vantaro\\trelvane 7\\lang\\TrelvaneFRA.dll", true},
        {L"C:\\Users\\Public\\Desktop\\Trelvane 7.08g.lnk", true},
        {L"C:\\Users\\Public\\Desktop\\Trelvane Examples\\Welcome.tv-proj", true},
        {L"C:\\ProgramData\\Vantaro\\Trelvane 7\\Standard.tv-lib", true},
        {L"C:\\Program Files\\Vantaro\\Trelvane 7", false},  // the folder itself is no file of it
        {L"C:\\Program Files\\Vantaro\\Other.exe", false},
        {L"C:\\Windows\\System32\\kernel32.dll", false},
        {L"C:\\Program Files\\Vantaro\\Trelvane 7\\..\\..\\..\\Windows\\win.ini", false},
        {L"C:\\Program Files\\Vantaro\\Trelvane 70\\x.dll", false},
        {L"D:\\Trelvane 7\\Trelvane.exe", false},
        {L"relative\\ignored\\x", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(areas.MayRemoveFile(c.path), c.removable) << Narrow(c.path);
}

// The protected list holds for a "file" entry as for a folder: an
// installation folder may hold a system folder (a shared desktop below a
// chosen folder, say), and the log's entry may name it or a folder above it.
TEST(ProductAreas, AFileEntryNamingASystemFolderOrOneAboveIsNeverRemoved)
{
    ProductAreas areas;
    areas.AddRoot(L"C:\\Users");
    areas.AddProtected(L"C:\\Users\\Public\\Desktop");
    const struct {
        const wchar_t* path;
        bool removable;
    } cases[] = {
        {L"C:\\Users\\Public\\Desktop", false},
        {L"c:/users/public/desktop/", false},
        {L"C:\\Users\\Public", false},
        {L"C:\\Users\\Public\\Desktop\\Trelvane 7.08g.lnk", true},
        {L"C:\\Users\\Public\\readme.txt", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(areas.MayRemoveFile(c.path), c.removable) << Narrow(c.path);
}

TEST(ProductAreas, FoldersInsideOrAboveButNeverASystemFolderOrAboveOne)
{
    const ProductAreas areas = TypicalAreas();
    const struct {
        const wchar_t* path;
        bool removable;
    } cases[] = {
        {L"C:\\Program Files\\Vantaro\\Trelvane 7", true},
        {L"C:\\Program Files\\Vantaro\\Trelvane 7\\Lang", true},
        {L"C:\\Program Files\\Vantaro", true},  // made as the installation folder's parent
        {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Vantaro", true},
        {L"C:\\ProgramData\\Vantaro", true},
        {L"C:\\Users\\Public\\Desktop\\Trelvane Examples", true},
        {L"C:\\Program Files", false},
        {L"C:\\ProgramData", false},
        {L"C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs", false},
        {L"C:\\ProgramData\\Microsoft", false},  // above a system folder
        {L"C:\\Users\\Public\\Desktop", false},
        {L"C:\\Users", false},
        {L"C:\\", false},
        {L"C:\\Program Files\\Other", false},
        {L"C:\\Windows\\Temp", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(areas.MayRemoveFolder(c.path), c.removable) << Narrow(c.path);
}

TEST(ProductAreas, AnInstallationFolderAtADrivesRootKeepsTheRoot)
{
    ProductAreas areas;
    areas.AddRoot(L"D:\\");
    EXPECT_TRUE(areas.MayRemoveFile(L"D:\\Trelvane.exe"));
    EXPECT_FALSE(areas.MayRemoveFolder(L"D:\\"));
    EXPECT_TRUE(areas.MayRemoveFolder(L"D:\\Lang"));
}

TEST(ProductAreas, TheDeepestRootHoldsAPath)
{
    const ProductAreas areas = TypicalAreas();
    EXPECT_EQ(areas.RootOf(L"C:\\ProgramData\\Vantaro\\Trelvane 7\\Textures\\Oak.jpg"),
              L"C:\\ProgramData\\Vantaro\\Trelvane 7");
    EXPECT_EQ(areas.RootOf(L"C:\\ProgramData\\Vantaro"), std::nullopt);
}

}  // namespace
}  // namespace va::uninstall
