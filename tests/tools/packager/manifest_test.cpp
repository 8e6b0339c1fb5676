#include <gtest/gtest.h>

#include "tests/tools/packager/temp_dir.h"
#include "tools/packager/manifest.h"

namespace {

using packager::parse_manifest;

}  // namespace

TEST(Manifest, ReadsKindsTokensAndComments)
{
    packager_test::TempDir dir;
    dir.write("Lang/En.dll", "x");
    dir.write("Trelvane.exe", "x");
    dir.write("lib.tv-lib", "x");
    const std::string text =
        "# comment\n"
        "\n"
        "  language | <InstallPath>\\Lang | Lang/En.dll  \r\n"
        "1|<InstallPath>|Trelvane.exe\n"
        "data | <CommonData>\\Vantaro\\Trelvane 7 | lib.tv-lib\n"
        "data | D:\\Fixed | lib.tv-lib\n";
    const auto entries = parse_manifest(text, "m", dir.path());
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[0].kind, 0u);
    EXPECT_EQ(entries[0].line, 3);
    EXPECT_EQ(entries[0].destination, L"<InstallPath>\\Lang");
    EXPECT_EQ(entries[0].source, L"Lang\\En.dll");
    EXPECT_EQ(entries[1].kind, 1u);
    EXPECT_EQ(entries[2].destination, L"<CommonData>\\Vantaro\\Trelvane 7");
    EXPECT_EQ(entries[3].destination, L"D:\\Fixed");
}

TEST(Manifest, BadLinesAreRefusedNamingTheLine)
{
    packager_test::TempDir dir;
    dir.write("a.bin", "x");
    const std::string longName(256, 'n');
    dir.write(longName.substr(0, 200), "x");
    struct Case {
        std::string line;
        std::string message;
    };
    const Case cases[] = {
        {"language | <InstallPath> | missing.bin", "source file"},
        {"librarian | <InstallPath> | a.bin", "unknown kind 'librarian'"},
        {"7 | <InstallPath> | a.bin", "unknown kind '7'"},
        {"language | <InstallPath>", "expected 'kind | destination folder | source file'"},
        {"language | <InstallPath> | a.bin | extra", "expected"},
        {"language | <installpath> | a.bin", "must begin with a folder token"},
        {"language | <Nowhere>\\x | a.bin", "must begin with a folder token"},
        {"language | <InstallPath>\\..\\.. | a.bin", "'..'"},
        {"language | relative\\folder | a.bin", "must begin with a folder token"},
        {"language | | a.bin", "must begin with a folder token"},
        {"language | <InstallPath>\\" + std::string(250, 'd') + " | a.bin", "longer than 259"},
        {"language | <InstallPath> | dir/", "valid file name"},
        {"language | <InstallPath> | a?.bin", "valid file name"},
        {"language | <InstallPath> | " + longName, "file name longer than 255"},
        {"language | <InstallPath> | \xff\xfe.bin", "UTF-8"},
    };
    for (const Case& c : cases) {
        const std::string text = "# header\nlanguage | <InstallPath> | a.bin\n" + c.line + "\n";
        try {
            parse_manifest(text, "demo.manifest", dir.path());
            ADD_FAILURE() << "accepted: " << c.line;
        } catch (const packager::ManifestError& e) {
            const std::string what = e.what();
            EXPECT_EQ(what.rfind("demo.manifest:3: ", 0), 0u) << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << what;
        }
    }
}

TEST(Manifest, TheSameTargetTwiceIsRefused)
{
    packager_test::TempDir dir;
    dir.write("a/x.bin", "1");
    dir.write("b/x.bin", "2");
    dir.write("b/X.BIN", "3");
    // Each second line names, on Windows, the file the first one placed.
    const std::pair<const char*, const char*> cases[] = {
        {"0|<InstallPath>|a/x.bin", "0|<InstallPath>|b/x.bin"},
        {"0|<InstallPath>|a/x.bin", "0|<InstallPath>|b/X.BIN"},
        {"0|<InstallPath>\\Lang|a/x.bin", "0|<InstallPath>/lang\\|b/x.bin"},
        {"0|<InstallPath>\\Lang|a/x.bin", "0|<InstallPath>\\Lang\\..\\Lang|b/x.bin"},
        {"3|<CommonData>\\Vantaro|a/x.bin", "3|<CommonData>\\vantaro\\.|b/x.bin"},
        {"3|D:\\Fixed|a/x.bin", "3|d:/fixed//|b/x.bin"},
    };
    for (const auto& [first, second] : cases) {
        try {
            parse_manifest(std::string(first) + "\n" + second + "\n", "m", dir.path());
            ADD_FAILURE() << "accepted: " << second;
        } catch (const packager::ManifestError& e) {
            EXPECT_STREQ(e.what(), "m:2: same target as line 1") << second;
        }
    }
}

TEST(Manifest, DifferentTokensAreDifferentTargets)
{
    packager_test::TempDir dir;
    dir.write("x.bin", "1");
    const char* lines[] = {
        "3|<Desktop>|x.bin",       "3|<Documents>|x.bin",           "3|<UserData>|x.bin",
        "3|<CommonData>|x.bin",    "3|<CommonDesktop>\\Samples|x.bin", "4|<SamplePath>|x.bin",
        "0|<InstallPath>|x.bin",   "5|<Temporary>|x.bin",           "0|<ProgramFiles>|x.bin",
    };
    std::string text;
    for (const char* line : lines)
        text += std::string(line) + "\n";
    EXPECT_EQ(parse_manifest(text, "m", dir.path()).size(), std::size(lines));
}
