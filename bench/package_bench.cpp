// Times the installer's verify-and-extract path over a package file mapped
// in memory as the resource is: verification, rewind, extraction into real
// files with their read-back.  Prints one key=value per line.
//   package_bench.exe PACKAGE OUTPUT_FOLDER

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

#include "engine/package/package_reader.h"
#include "engine/package/package_stream.h"
#include "engine/placement/machine_extraction.h"
#include "support/handles.h"

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: package_bench PACKAGE OUTPUT_FOLDER\n");
        return 2;
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
    const auto t0 = clock::now();
    const bool verified = va::verify_package(*stream);
    const auto t1 = clock::now();
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
    const bool extracted = va::extract_package(*stream, argv[2], L"Samples", std::wstring(argv[2]) + L"\\tmp", callback);
    const auto t2 = clock::now();

    PROCESS_MEMORY_COUNTERS memory{};
    ::GetProcessMemoryInfo(::GetCurrentProcess(), &memory, sizeof memory);
    ::UnmapViewOfFile(view);
    const double verify = std::chrono::duration<double>(t1 - t0).count();
    const double extract = std::chrono::duration<double>(t2 - t1).count();
    std::printf("verified=%d\nextracted=%d\nerrors=%d\ncompressed_bytes=%lld\ndecompressed_bytes=%llu\n"
                "verify_seconds=%.3f\nextract_seconds=%.3f\n"
                "peak_private_bytes=%lu\npeak_working_set_bytes=%lu\nprocessors=%u\n",
                verified, extracted, errors, static_cast<long long>(size.QuadPart),
                static_cast<unsigned long long>(total), verify, extract,
                static_cast<unsigned long>(memory.PeakPagefileUsage),
                static_cast<unsigned long>(memory.PeakWorkingSetSize), std::thread::hardware_concurrency());
    return verified && extracted ? 0 : 1;
}
