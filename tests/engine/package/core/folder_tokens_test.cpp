#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/folder_tokens.h"

namespace {

namespace c = va::csidl;

const std::map<int, std::wstring> kSystem = {
    {c::program_files, L"C:\\Program Files (x86)"},
    {c::program_files_common, L"C:\\Program Files (x86)\\Common Files"},
    {c::common_appdata, L"C:\\ProgramData"},
    {c::appdata, L"C:\\Users\\u\\AppData\\Roaming"},
    {c::common_documents, L"C:\\Users\\Public\\Documents"},
    {c::personal, L"C:\\Users\\u\\Documents"},
    {c::common_desktop_directory, L"C:\\Users\\Public\\Desktop"},
    {c::desktop_directory, L"C:\\Users\\u\\Desktop"},
    {c::windows, L"C:\\windows"},
    {c::system, L"C:\\windows\\system32"},
};

struct Resolver {
    std::map<int, std::wstring> folders = kSystem;
    va::FolderInputs inputs{L"D:\\Apps\\Trelvane 7", L"Trelvane Examples", L"C:\\Temp\\vantaro_{x}"};
    std::vector<std::wstring> shared;
    std::vector<std::pair<int, int>> asked;
    std::wstring root;

    std::wstring operator()(const std::wstring& destination)
    {
        return va::resolve_destination(
            destination, inputs,
            [this](int csidl, int second) {
                asked.emplace_back(csidl, second);
                for (int k : {csidl, second})
                    if (k != c::none && folders.count(k))
                        return folders.at(k);
                va::throw_compress_error(va::compress_errc::unexpected);
            },
            [this](const std::wstring& f) { shared.push_back(f); }, &root);
    }
};

}  // namespace

TEST(FolderTokens, EachTokenAndItsSharedFolders)
{
    struct Case {
        const wchar_t* destination;
        const wchar_t* resolved;
        std::vector<std::wstring> shared;
    };
    const Case cases[] = {
        {L"<InstallPath>", L"D:\\Apps\\Trelvane 7", {}},
        {L"<InstallPath>\\Lang", L"D:\\Apps\\Trelvane 7\\Lang", {}},
        {L"<InstallPath>/Lang//x\\", L"D:\\Apps\\Trelvane 7\\Lang\\x", {}},
        {L"<SamplePath>", L"C:\\Users\\Public\\Desktop\\Trelvane Examples",
         {L"C:\\Users\\Public\\Desktop\\Trelvane Examples"}},
        {L"<SamplePath>\\More", L"C:\\Users\\Public\\Desktop\\Trelvane Examples\\More",
         {L"C:\\Users\\Public\\Desktop\\Trelvane Examples"}},
        {L"<ProgramFiles>\\V", L"C:\\Program Files (x86)\\V", {}},
        {L"<ProgramCommon>", L"C:\\Program Files (x86)\\Common Files", {}},
        {L"<CommonData>\\Vantaro\\Trelvane 7", L"C:\\ProgramData\\Vantaro\\Trelvane 7",
         {L"C:\\ProgramData\\Vantaro", L"C:\\ProgramData\\Vantaro\\Trelvane 7"}},
        {L"<CommonData>", L"C:\\ProgramData", {}},
        {L"<UserData>\\Vantaro", L"C:\\Users\\u\\AppData\\Roaming\\Vantaro", {}},
        {L"<CommonDocuments>\\T", L"C:\\Users\\Public\\Documents\\T", {L"C:\\Users\\Public\\Documents\\T"}},
        {L"<Documents>\\T", L"C:\\Users\\u\\Documents\\T", {}},
        {L"<CommonDesktop>\\T", L"C:\\Users\\Public\\Desktop\\T", {L"C:\\Users\\Public\\Desktop\\T"}},
        {L"<Desktop>", L"C:\\Users\\u\\Desktop", {}},
        {L"<WinDir>\\Fonts", L"C:\\windows\\Fonts", {}},
        {L"<System>", L"C:\\windows\\system32", {}},
        {L"<Temporary>", L"C:\\Temp\\vantaro_{x}", {}},
        {L"<CommonData>\\a\\..\\b\\.", L"C:\\ProgramData\\b", {L"C:\\ProgramData\\a", L"C:\\ProgramData\\b"}},
        {L"C:\\Data", L"C:\\Data", {}},
        {L"\\\\server\\share", L"\\\\server\\share", {}},
        {L"relative\\<InstallPath>", L"relative\\<InstallPath>", {}},
        {L"", L"", {}},
    };
    for (const Case& k : cases) {
        Resolver resolve;
        EXPECT_EQ(resolve(k.destination), k.resolved) << k.destination;
        EXPECT_EQ(resolve.shared, k.shared) << k.destination;
    }
}

// The token's folder: the writer follows no link below it.
TEST(FolderTokens, TellTheFolderTheTokenStandsFor)
{
    const struct {
        const wchar_t* destination;
        const wchar_t* samples;
        const wchar_t* root;
    } cases[] = {
        {L"<InstallPath>\\Data", L"", L"D:\\Apps\\Trelvane 7"},
        {L"<CommonData>\\Vantaro\\..\\T", L"", L"C:\\ProgramData"},
        {L"<SamplePath>\\Sub", L"Trelvane Examples", L"C:\\Users\\Public\\Desktop"},
        {L"<SamplePath>\\Sub", L"E:\\Samples", L"E:\\Samples"},
        {L"<Temporary>", L"", L"C:\\Temp\\vantaro_{x}"},
        {L"C:\\Data", L"", L""},
    };
    for (const auto& k : cases) {
        Resolver resolve;
        resolve.inputs.samples = k.samples;
        resolve.root = L"stale";
        resolve(k.destination);
        EXPECT_EQ(resolve.root, k.root) << k.destination;
    }
}

TEST(FolderTokens, SecondChoices)
{
    struct Case {
        const wchar_t* destination;
        int missing;
        const wchar_t* resolved;  // nullptr: refused
    };
    const Case cases[] = {
        {L"<CommonData>", c::common_appdata, L"C:\\Users\\u\\AppData\\Roaming"},
        {L"<CommonDocuments>", c::common_documents, L"C:\\Users\\u\\Documents"},
        {L"<CommonDesktop>", c::common_desktop_directory, L"C:\\Users\\u\\Desktop"},
        {L"<SamplePath>", c::common_desktop_directory, L"C:\\Users\\u\\Desktop\\Trelvane Examples"},
        {L"<UserData>", c::appdata, nullptr},
        {L"<Documents>", c::personal, nullptr},
        {L"<Desktop>", c::desktop_directory, nullptr},
        {L"<ProgramFiles>", c::program_files, nullptr},
        {L"<ProgramCommon>", c::program_files_common, nullptr},
        {L"<WinDir>", c::windows, nullptr},
        {L"<System>", c::system, nullptr},
    };
    for (const Case& k : cases) {
        Resolver resolve;
        resolve.folders.erase(k.missing);
        if (k.resolved) {
            EXPECT_EQ(resolve(k.destination), k.resolved) << k.destination;
        } else {
            EXPECT_THROW(resolve(k.destination), std::system_error) << k.destination;
        }
    }
}

TEST(FolderTokens, SamplesFolderForms)
{
    struct Case {
        const wchar_t* samples;
        const wchar_t* resolved;
        bool marked;
    };
    const Case cases[] = {
        {L"Exemples Trelvane", L"C:\\Users\\Public\\Desktop\\Exemples Trelvane\\Sub", true},
        {L"", L"C:\\Users\\Public\\Desktop\\Sub", false},
        {L"E:\\Samples", L"E:\\Samples\\Sub", false},
        {L"e:/Samples", L"e:/Samples\\Sub", false},
        {L"\\\\nas\\samples", L"\\\\nas\\samples\\Sub", false},
    };
    for (const Case& k : cases) {
        Resolver resolve;
        resolve.inputs.samples = k.samples;
        EXPECT_EQ(resolve(L"<SamplePath>\\Sub"), k.resolved) << k.samples;
        EXPECT_EQ(!resolve.shared.empty(), k.marked) << k.samples;
    }
}

TEST(FolderTokens, TemporaryFallsBackToTheInstallationFolder)
{
    Resolver resolve;
    resolve.inputs.temporary.clear();
    EXPECT_EQ(resolve(L"<Temporary>\\DX"), L"D:\\Apps\\Trelvane 7\\DX");
}

TEST(FolderTokens, RefusedDestinations)
{
    const wchar_t* cases[] = {
        L"<installpath>",          // tokens are case-sensitive
        L"<INSTALLPATH>\\Lang",
        L"<Unknown>\\x",
        L"<>",
        L"<InstallPath>\\..",      // climbs above the token's folder
        L"<CommonData>\\a\\..\\..\\Windows",
    };
    for (const wchar_t* destination : cases) {
        Resolver resolve;
        try {
            resolve(destination);
            ADD_FAILURE() << "accepted: " << destination;
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), va::make_error_code(va::compress_errc::unexpected));
        }
    }
}

TEST(FolderTokens, EmptyInstallationFolderIsRefused)
{
    Resolver resolve;
    resolve.inputs.installation.clear();
    EXPECT_THROW(resolve(L"<InstallPath>\\Lang"), std::system_error);
}

TEST(FolderTokens, NoFolderIsAskedForAnOrdinaryPath)
{
    Resolver resolve;
    resolve(L"C:\\Data");
    resolve(L"<InstallPath>");
    EXPECT_TRUE(resolve.asked.empty());
    resolve(L"<CommonData>");
    EXPECT_EQ(resolve.asked, (std::vector<std::pair<int, int>>{{c::common_appdata, c::appdata}}));
}
