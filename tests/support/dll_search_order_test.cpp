// Libraries planted beside copies of the two programs under the names of
// system libraries they import or that the system loads for them: none may
// be loaded.  Wine is told to prefer a library found along the search path
// ("n,b"), as Windows does for every library outside the KnownDLLs; a
// control program that leaves the search order alone shows that the planted
// library is found when it is looked for there.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "tests/common/scratch_folder.h"
#include "tests/driver/driver.h"
#include "support/utf8_text.h"

namespace va::test {
namespace {

// The libraries to plant: the names of TRELVANE_WINEDLLOVERRIDES
// ("bcrypt,uxtheme,...=n,b"), which CTest sets and the Wine runner hands to
// Wine's loader (tests/support/CMakeLists.txt, which also says which
// libraries Wine itself loads whatever a program does and are not planted).
std::vector<std::wstring> PlantedNames()
{
    wchar_t value[1024] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"TRELVANE_WINEDLLOVERRIDES", value, 1024);
    std::vector<std::wstring> names;
    if (length == 0 || length >= 1024)
        return names;
    std::wstring list(value, length);
    list = list.substr(0, list.find(L'='));
    for (std::size_t at = 0; at <= list.size();) {
        const std::size_t comma = std::min(list.find(L',', at), list.size());
        if (comma > at)
            names.push_back(list.substr(at, comma - at));
        at = comma + 1;
    }
    return names;
}

std::wstring TestBin()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L'\\'));
}

bool Exists(const std::wstring& path)
{
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

class PlantedLibraries : public testing::Test {
protected:
    void SetUp() override
    {
        planted_ = PlantedNames();
        ASSERT_FALSE(planted_.empty()) << "TRELVANE_WINEDLLOVERRIDES names no library: run the test through ctest";
        for (const std::wstring& name : planted_)
            ASSERT_TRUE(::CopyFileW((TestBin() + L"\\planted_library.dll").c_str(), (folder_ / name + L".dll").c_str(),
                                    FALSE));
    }

    std::wstring Copy(const std::wstring& program, const std::wstring& name)
    {
        const std::wstring copy = folder_ / name;
        EXPECT_TRUE(::CopyFileW(program.c_str(), copy.c_str(), FALSE)) << Utf8(name);
        return copy;
    }

    // The planted libraries that were loaded, removing their markers.
    std::vector<std::string> Loaded()
    {
        std::vector<std::string> loaded;
        for (const std::wstring& name : planted_) {
            const std::wstring marker = folder_ / name + L".dll.loaded";
            if (Exists(marker)) {
                loaded.push_back(Utf8(name) + ".dll");
                ::DeleteFileW(marker.c_str());
            }
        }
        return loaded;
    }

    // Runs `program` with "/?" and closes the list of switches it shows.
    void RunHelp(const std::wstring& program)
    {
        const Process process = StartProgram(program, L"/?");
        const HWND box = WaitForDialog(process);
        ASSERT_NE(box, nullptr) << "no list of switches: is there a display?";
        PressButton(box, IDOK);
        EXPECT_EQ(WaitForExit(process), 0u);
    }

    ScratchFolder folder_;
    std::vector<std::wstring> planted_;
};

std::string Joined(const std::vector<std::string>& names)
{
    std::string text;
    for (const std::string& name : names)
        text += " " + name;
    return text;
}

TEST_F(PlantedLibraries, NeitherProgramLoadsALibraryPlantedBesideIt)
{
    const std::wstring probe = Copy(TestBin() + L"\\search_order_probe.exe", L"probe.exe");
    const Process control = StartProgram(probe);
    ASSERT_EQ(WaitForExit(control), 0u);
    if (Loaded().empty())
        GTEST_SKIP() << "this system takes no library found beside the program ahead of its own (under Wine: "
                        "the loader was not given TRELVANE_WINEDLLOVERRIDES): a planted library cannot be tried";

    const std::wstring installer = Copy(TestBin() + L"\\..\\bin\\InstallTrelvane7.08g.exe", L"setup.exe");
    const std::wstring uninstaller = Copy(TestBin() + L"\\..\\bin\\Uninstall.exe", L"Uninstall.exe");
    struct Run {
        const char* what;
        std::wstring program;
        std::wstring arguments;
        bool box;
    };
    const Run runs[] = {
        {"installer, list of switches", installer, L"/?", true},
        {"installer, quiet with a log", installer, L"/quiet /? /log=" + folder_ / L"i.log", false},
        {"uninstaller, list of switches", uninstaller, L"/?", true},
        {"uninstaller without its log", uninstaller, L"/quiet /log=" + folder_ / L"u.log", false},
    };
    size_t tried = 0;
    for (const Run& run : runs) {
        SCOPED_TRACE(run.what);
        if (run.box) {
            RunHelp(run.program);
        } else {
            const Process process = StartProgram(run.program, run.arguments);
            WaitForExit(process);
        }
        tried += planted_.size();
        const std::vector<std::string> loaded = Loaded();
        EXPECT_TRUE(loaded.empty()) << "planted libraries loaded:" << Joined(loaded);
    }
    RecordProperty("planted", static_cast<int>(tried));
}

}  // namespace
}  // namespace va::test
