// The embedded demo package through the real reader: folders from the
// shell, files on disk, read back for their checksums.

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/folder_tokens.h"
#include "engine/package/known_folder.h"
#include "engine/package/package_reader.h"
#include "engine/package/package_stream.h"
#include "engine/placement/machine_extraction.h"
#include "tests/common/scratch_folder.h"

namespace {

using va::notification;

std::wstring ShellFolder(int csidl)
{
    wchar_t path[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Below(const std::wstring& path, const std::wstring& folder)
{
    return path.size() > folder.size() && path.compare(0, folder.size(), folder) == 0 && path[folder.size()] == L'\\';
}

}  // namespace

TEST(DemoPackage, VerifiesAndExtractsWithResolvedFolders)
{
#ifdef TEST_OTHER_PACKAGE
    GTEST_SKIP() << "this build embeds another manifest's package, not the demo package";
#endif
    va::test::ScratchFolder scratch;
    const std::wstring install = scratch / L"Trelvane 7";
    const std::wstring samples = scratch / L"Samples";
    const std::wstring temporary = scratch / L"vantaro_{0}";
    auto stream = va::open_resource_stream(260, 134);
    ASSERT_TRUE(va::verify_package(*stream));
    stream->clear();
    stream->seekg(0);

    std::map<std::wstring, std::wstring> placed;  // destination -> file name
    std::vector<std::wstring> outside;
    int errors = 0;
    auto callback = [&](const notification& n) {
        if (auto* b = std::get_if<notification::file_begin>(&n.value)) {
            const std::wstring& d = b->entry->destination;
            if (!Below(d, scratch.Path())) {
                outside.push_back(d);
                return notification::skip;  // nothing is written outside the scratch folder
            }
            placed[d] = std::wstring(va::file_name_of(b->entry->source));
        }
        errors += n.index() == 5;
        return notification::proceed;
    };
    ASSERT_TRUE(va::extract_package(*stream, install, samples, temporary, callback));
    EXPECT_EQ(errors, 0);

    const std::wstring payload = std::wstring(TEST_DEMO_PAYLOAD);
    const std::map<std::wstring, std::wstring> expected = {
        {install + L"\\Lang\\TrelvaneENU.dll", payload + L"/Lang/TrelvaneENU.dll"},
        {install + L"\\Trelvane.exe", payload + L"/Trelvane.exe"},
        {install + L"\\Uninstall.exe", payload + L"/Uninstall.exe"},
        {samples + L"\\Welcome.tv-proj", payload + L"/Samples/Welcome.tv-proj"},
        {temporary + L"\\DSetup.dll", payload + L"/DirectX/DSetup.dll"},
        {temporary + L"\\dxcore_x86.cab", payload + L"/DirectX/dxcore_x86.cab"},
    };
    for (const auto& [target, source] : expected) {
        EXPECT_TRUE(placed.count(target)) << std::string(target.begin(), target.end());
        EXPECT_EQ(va::test::ReadBytes(target), va::test::ReadBytes(source));
    }
    const std::wstring data = ShellFolder(CSIDL_COMMON_APPDATA) + L"\\Vantaro\\Trelvane 7";
    const std::wstring user = ShellFolder(CSIDL_APPDATA) + L"\\Vantaro\\Trelvane 7";
    const std::vector<std::wstring> expectedOutside = {
        data + L"\\Standard.tv-lib",     data + L"\\Metals.mat-vantaro",         user + L"\\MyImages.bmp",
        data + L"\\Textures\\Oak.jpg", data + L"\\Textures\\Slate.jpg",
    };
    EXPECT_EQ(outside, expectedOutside);
}

// The end-to-end runs lean on the demo package to exercise every placement
// rule: each kind must be there, each file with its kind and in its folder.
TEST(DemoPackage, CarriesEveryKindToItsDestination)
{
#ifdef TEST_OTHER_PACKAGE
    GTEST_SKIP() << "this build embeds another manifest's package, not the demo package";
#endif
    const std::wstring install = L"C:\\Inst", samples = L"E:\\Samples", temporary = L"C:\\Tmp\\vantaro_{0}";
    const std::wstring data = ShellFolder(CSIDL_COMMON_APPDATA) + L"\\Vantaro\\Trelvane 7";
    const std::wstring user = ShellFolder(CSIDL_APPDATA) + L"\\Vantaro\\Trelvane 7";
    const std::map<std::wstring, std::pair<std::uint32_t, std::wstring>> expected = {
        {L"TrelvaneFRA.dll", {0, install + L"\\Lang"}},
        {L"TrelvaneENU.dll", {0, install + L"\\Lang"}},
        {L"TrelvaneDEU.dll", {0, install + L"\\Lang"}},
        {L"Trelvane.exe", {1, install}},
        {L"Uninstall.exe", {2, install}},
        {L"Standard.tv-lib", {3, data}},
        {L"Metals.mat-vantaro", {3, data}},
        {L"MyImages.bmp", {3, user}},
        {L"Welcome.tv-proj", {4, samples}},
        {L"Starter.tv-cab", {4, samples}},
        {L"Oak.jpg", {4, data + L"\\Textures"}},
        {L"Slate.jpg", {4, data + L"\\Textures"}},
        {L"DSetup.dll", {5, temporary}},
        {L"dsetup32.dll", {5, temporary}},
        {L"dxcore_x86.cab", {5, temporary}},
        {L"dxextra_x86.cab", {5, temporary}},
    };
    std::map<std::wstring, std::pair<std::uint32_t, std::wstring>> found;
    auto callback = [&](const notification& n) {
        if (auto* b = std::get_if<notification::file_begin>(&n.value)) {
            const std::wstring& d = b->entry->destination;
            const std::wstring name(va::file_name_of(b->entry->source));
            EXPECT_TRUE(found.emplace(name, std::pair{b->entry->kind, d.substr(0, d.rfind(L'\\'))}).second) << "twice";
            EXPECT_EQ(d.substr(d.rfind(L'\\') + 1), name);
            return notification::skip;  // the table is what is looked at; nothing is written
        }
        return notification::proceed;
    };
    auto stream = va::open_resource_stream(260, 134);
    ASSERT_TRUE(va::extract_package(*stream, install, samples, temporary, callback));
    EXPECT_EQ(found, expected);
}

TEST(DemoPackage, EmptyResourcePassesVerificationThenFailsWithSeven)
{
    auto stream = va::open_resource_stream(260, 135);
    EXPECT_TRUE(va::verify_package(*stream));
    stream->clear();
    stream->seekg(0);
    std::error_code code;
    int errors = 0;
    auto callback = [&](const notification& n) {
        if (auto* e = std::get_if<notification::error>(&n.value))
            code = e->code, ++errors;
        return notification::proceed;
    };
    EXPECT_FALSE(va::extract_package(*stream, L"C:\\x", L"S", L"", callback));
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(code, va::make_error_code(va::compress_errc::unexpected));
}

TEST(KnownFolder, ShellFolderSecondChoiceAndRefusal)
{
    const std::wstring appdata = ShellFolder(CSIDL_APPDATA);
    ASSERT_FALSE(appdata.empty());
    EXPECT_EQ(va::known_folder(CSIDL_APPDATA, va::csidl::none, nullptr), appdata);
    constexpr int kNoSuchFolder = 0x7E;
    EXPECT_EQ(va::known_folder(kNoSuchFolder, CSIDL_APPDATA, nullptr), appdata);
    try {
        va::known_folder(kNoSuchFolder, va::csidl::none, nullptr);
        ADD_FAILURE() << "no folder, no error";
    } catch (const std::system_error& e) {
        EXPECT_EQ(e.code(), va::make_error_code(va::compress_errc::unexpected));
    }
}
