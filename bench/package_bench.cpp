// Times the installer's verify-and-extract path over a package file mapped
// in memory as the resource is: verification, rewind, extraction into real
// files with their read-back.  Prints one key=value per line.
//   package_bench.exe PACKAGE OUTPUT_FOLDER [PROCESSORS | affinity=N]
// PROCESSORS: how many the reader may use (default: all; 1 is the reader
// on one thread), for single-thread against parallel on the same machine.
// affinity=N: the process runs on its first N processors only, and the
// reader uses them all, as the installer would on such a machine.

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "engine/journal/same_path.h"
#include "engine/package/package_reader.h"
#include "engine/package/package_stream.h"
#include "engine/placement/users_access.h"
#include "support/handles.h"

namespace {

// The installer's host (machine_extraction.cpp) with a chosen processor count.
class BenchHost : public va::WindowsExtractionHost {
public:
    explicit BenchHost(unsigned processors)
        : va::WindowsExtractionHost(
              nullptr, [this](const std::wstring& a, const std::wstring& b) { return samePath_(a, b); },
              va::GrantUsersAccess),
          processors_(processors)
    {
    }
    unsigned processor_count() override { return processors_; }

private:
    va::SamePathCache samePath_;  // as the installer's host has it
    unsigned processors_;
};

double CpuSeconds()
{
    FILETIME created, exited, kernel, user;
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

unsigned Bits(DWORD_PTR mask)
{
    unsigned n = 0;
    for (; mask != 0; mask &= mask - 1)
        ++n;
    return n;
}

// The process kept to its first `count` processors; how many it then has.
unsigned RestrictTo(unsigned count)
{
    DWORD_PTR process = 0, system = 0;
    if (!::GetProcessAffinityMask(::GetCurrentProcess(), &process, &system))
        return 0;
    DWORD_PTR kept = 0;
    for (DWORD_PTR bit = 1; bit != 0 && Bits(kept) < count; bit <<= 1)
        kept |= process & bit;
    if (kept == 0 || !::SetProcessAffinityMask(::GetCurrentProcess(), kept))
        return 0;
    return Bits(kept);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: package_bench PACKAGE OUTPUT_FOLDER [PROCESSORS | affinity=N]\n");
        return 2;
    }
    unsigned processors = std::thread::hardware_concurrency();
    const std::wstring option = argc == 4 ? argv[3] : L"";
    if (option.rfind(L"affinity=", 0) == 0) {
        processors = RestrictTo(static_cast<unsigned>(std::wcstoul(option.c_str() + 9, nullptr, 10)));
        if (processors == 0)
            return 5;
    } else if (!option.empty()) {
        processors = static_cast<unsigned>(std::wcstoul(option.c_str(), nullptr, 10));
    }
    va::UniqueFile file(::CreateFileW(argv[1], GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return 3;
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file.get(), &size);
    va::UniqueHandle mapping(::CreateFileMappingW(file.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    const char* view = mapping ? static_cast<const char*>(::MapViewOfFile(mapping.get(), FILE_MAP_READ, 0, 0, 0)) : nullptr;
    if (!view)
        return 4;
    auto stream = va::open_memory_stream(view, static_cast<std::size_t>(size.QuadPart));

    using clock = std::chrono::steady_clock;
    const double c0 = CpuSeconds();
    const auto t0 = clock::now();
    const bool verified = va::verify_package(*stream, processors);
    const auto t1 = clock::now();
    const double c1 = CpuSeconds();
    stream->clear();
    stream->seekg(0);
    std::uint64_t total = 0;
    int errors = 0;
    auto callback = [&](const va::notification& n) {
        if (auto* f = std::get_if<va::notification::finished>(&n.value))
            total = f->total;
        errors += n.index() == 5;
        return va::notification::proceed;
    };
    BenchHost host(processors);
    const bool extracted = va::extract_package(
        *stream, va::FolderInputs{argv[2], L"Samples", std::wstring(argv[2]) + L"\\tmp"}, callback, host);
    const auto t2 = clock::now();
    const double c2 = CpuSeconds();

    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    ::UnmapViewOfFile(view);
    const double verify = std::chrono::duration<double>(t1 - t0).count();
    const double extract = std::chrono::duration<double>(t2 - t1).count();
    std::printf("verified=%d\nextracted=%d\nerrors=%d\ncompressed_bytes=%lld\ndecompressed_bytes=%llu\n"
                "verify_seconds=%.3f\nextract_seconds=%.3f\nverify_cpu_seconds=%.3f\nextract_cpu_seconds=%.3f\n"
                "peak_private_bytes=%lu\npeak_working_set_bytes=%lu\nprocessors=%u\n",
                verified, extracted, errors, static_cast<long long>(size.QuadPart),
                static_cast<unsigned long long>(total), verify, extract, c1 - c0, c2 - c1,
                static_cast<unsigned long>(memory.PeakPagefileUsage),
                static_cast<unsigned long>(memory.PeakWorkingSetSize), processors);
    return verified && extracted ? 0 : 1;
}
