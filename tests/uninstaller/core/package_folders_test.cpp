#include <gtest/gtest.h>

#include <map>
#include <string>

#include "engine/package/core/folder_tokens.h"
#include "uninstaller/core/package_folders.h"

namespace va::uninstall {
namespace {

const std::map<int, std::wstring> kSystem = {
    {0x26, L"C:\\Program Files (x86)"},   {0x2B, L"C:\\Program Files (x86)\\Common Files"},
    {0x23, L"C:\\ProgramData"},           {0x1A, L"C:\\Users\\u\\AppData\\Roaming"},
    {0x2E, L"C:\\Users\\Public\\Documents"}, {0x05, L"C:\\Users\\u\\Documents"},
    {0x19, L"C:\\Users\\Public\\Desktop"}, {0x10, L"C:\\Users\\u\\Desktop"},
    {0x24, L"C:\\windows"},               {0x25, L"C:\\windows\\system32"},
};

std::wstring Lookup(int csidl)
{
    const auto found = kSystem.find(csidl);
    return found == kSystem.end() ? std::wstring() : found->second;
}

// The uninstaller must read a token as the installer's reader does, or it
// would look for the product's files in the wrong place.
TEST(PackageFolders, EverySystemTokenGoesWhereTheInstallersReaderPutsIt)
{
    for (const FolderToken& token : SystemFolderTokens()) {
        const std::wstring destination = std::wstring(token.token) + L"\\Vantaro\\Trelvane 7";
        const std::wstring installed = resolve_destination(
            destination, FolderInputs{L"D:\\Apps\\Trelvane 7", L"Trelvane Examples", L"C:\\Temp\\vantaro_{x}"},
            [](int csidl, int second) {
                std::wstring folder = Lookup(csidl);
                return folder.empty() && second >= 0 ? Lookup(second) : folder;
            },
            [](const std::wstring&) {});
        const std::vector<std::wstring> candidates = ResolvePackageFolder(destination, L"D:\\Apps\\Trelvane 7", Lookup);
        ASSERT_FALSE(candidates.empty()) << std::string(token.token.begin(), token.token.end());
        EXPECT_EQ(candidates.front(), installed);
    }
}

TEST(PackageFolders, TheInstallationsOwnTokens)
{
    EXPECT_EQ(ResolvePackageFolder(L"<InstallPath>\\Lang", L"D:\\Apps\\Trelvane 7", Lookup),
              std::vector<std::wstring>{L"D:\\Apps\\Trelvane 7\\Lang"});
    EXPECT_EQ(ResolvePackageFolder(L"<InstallPath>", L"D:\\Apps\\Trelvane 7", Lookup),
              std::vector<std::wstring>{L"D:\\Apps\\Trelvane 7"});
    // Both desktops: the samples folder's name followed the interface language.
    EXPECT_EQ(ResolvePackageFolder(L"<SamplePath>", L"D:\\A", Lookup),
              (std::vector<std::wstring>{L"C:\\Users\\Public\\Desktop", L"C:\\Users\\u\\Desktop"}));
    EXPECT_EQ(ResolvePackageFolder(L"<CommonData>\\Vantaro", L"D:\\A", Lookup),
              (std::vector<std::wstring>{L"C:\\ProgramData\\Vantaro", L"C:\\Users\\u\\AppData\\Roaming\\Vantaro"}));
    EXPECT_TRUE(ResolvePackageFolder(L"<Temporary>", L"D:\\A", Lookup).empty());
    EXPECT_TRUE(ResolvePackageFolder(L"<installpath>\\x", L"D:\\A", Lookup).empty());  // tokens are case-sensitive
    EXPECT_TRUE(ResolvePackageFolder(L"<CommonData>\\x", L"D:\\A", [](int) { return std::wstring(); }).empty());
}

}  // namespace
}  // namespace va::uninstall
