// The wall time of a whole installation through the real installer: the
// wizard's quick route, Install pressed, and the clock stopped when the run
// gives Exit back; with --quiet, the whole unattended run (/quiet) from its
// start to its exit, and the installer's peak private memory.  With a package file, a copy of the installer carrying
// that package is run instead.  The product is removed before and after.
//
//   install_bench [--quiet] INSTALLER [PACKAGE]

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/common/installed_product.h"
#include "tests/common/installer_copy.h"
#include "tests/driver/driver.h"
#include "tests/wizard/wizard_pages.h"

namespace {

using namespace va::test;

int Fail(const char* what)
{
    std::fprintf(stderr, "install_bench: %s\n", what);
    return 1;
}

bool Next(HWND host, int page)
{
    PressButton(host, IDOK);
    return WaitForPage(host, page);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool quiet = argc > 1 && std::wstring(argv[1]) == L"--quiet";
    if (quiet) {
        --argc;
        ++argv;
    }
    if (argc < 2)
        return Fail("usage: install_bench [--quiet] INSTALLER [PACKAGE]");
    std::wstring installer = argv[1];
    std::wstring copy;
    if (argc > 2) {
        std::ifstream in(argv[2], std::ios::binary);
        const std::string package((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        copy = std::wstring(temp) + L"install_bench_copy.exe";
        if (package.empty() || !CopyInstallerWithPackage(installer, copy, package))
            return Fail("cannot make the installer copy");
        installer = copy;
    }
    RemoveInstalledProduct();
    WriteDword(HKEY_LOCAL_MACHINE, kTestUninstallKey, L"VaLanguage", 1);

    if (quiet) {
        wchar_t temp[MAX_PATH + 1] = {};
        ::GetTempPathW(MAX_PATH + 1, temp);
        const std::wstring log = std::wstring(temp) + L"install_bench.log";
        ::DeleteFileW(log.c_str());
        const auto start = std::chrono::steady_clock::now();
        const Process run = StartProgram(installer, L"/quiet /log=\"" + log + L"\"");
        // The peak is read while the process lives: not every system keeps
        // the counters of one that has ended.
        SIZE_T peak = 0;
        while (::WaitForSingleObject(run.handle.get(), 20) == WAIT_TIMEOUT) {
            PROCESS_MEMORY_COUNTERS memory{};
            if (::GetProcessMemoryInfo(run.handle.get(), &memory, sizeof memory) && memory.PeakPagefileUsage > peak)
                peak = memory.PeakPagefileUsage;
        }
        const DWORD code = WaitForExit(run, 3600000);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        std::printf("quiet_seconds=%.2f\nexit_code=%lu\npeak_private_bytes=%lu\nlog=%ls\n", seconds,
                    static_cast<unsigned long>(code), static_cast<unsigned long>(peak), log.c_str());
        RemoveInstalledProduct();
        if (!copy.empty())
            ::DeleteFileW(copy.c_str());
        return code == 0 ? 0 : 1;
    }

    Process process = StartProgram(installer);
    HWND host = WaitForDialog(process, IsHost);
    if (!host || !Next(host, 1) || !Next(host, 4))
        return Fail("the Install page was not reached");
    const auto start = std::chrono::steady_clock::now();
    if (!RunInstallation(host, 3600000))
        return Fail("the installation did not end");
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("install_seconds=%.2f\nstatus=%ls\n", seconds, ControlText(PageOf(host, 4), IDC_STATUS).c_str());

    PressButton(host, IDCANCEL);
    if (HWND box = WaitForDialog(process, IsMessageBox, 5000))
        PressButton(box, IDYES);
    WaitForExit(process);
    RemoveInstalledProduct();
    if (!copy.empty())
        ::DeleteFileW(copy.c_str());
    return 0;
}
