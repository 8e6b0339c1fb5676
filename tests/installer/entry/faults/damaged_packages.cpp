// Copies of the shipped installer whose package is damaged in one way each:
// every quiet run must end with the "failed" exit code, show the code the
// damage calls for, and leave nothing behind.

#include <cstdio>
#include <vector>

#include "engine/package/core/package_format.h"
#include "support/core/exit_codes.h"
#include "tests/installer/entry/faults/point_sweep.h"
#include "tests/installer/entry/faults/sweep_support.h"
#include "tests/common/installer_copy.h"

namespace va::test {
namespace {

struct DamageCase {
    const char* name;
    std::string package;
    int code;  // the error code the status names
};

std::string Flipped(std::string bytes, std::size_t at)
{
    bytes[at] = static_cast<char>(bytes[at] ^ 0xFF);
    return bytes;
}

// The decompressed package with its table changed by `change`, packed again.
template <typename Change>
std::string WithTable(const std::string& package, Change change)
{
    const std::string bytes = Decompress(package);
    const auto* raw = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::uint64_t length = read_table_length(raw);
    std::vector<PackageEntry> entries = parse_table(raw, static_cast<std::size_t>(length));
    change(entries);
    const std::vector<unsigned char> table = encode_table(entries);
    return package_test::Compress(std::string(table.begin(), table.end()) + bytes.substr(length));
}

// The same package whose table length is off by `delta`.
std::string WithTableLength(const std::string& package, int delta)
{
    std::string bytes = Decompress(package);
    std::uint64_t length = read_table_length(reinterpret_cast<const unsigned char*>(bytes.data()));
    length = static_cast<std::uint64_t>(static_cast<std::int64_t>(length) + delta);
    for (int i = 0; i < 8; ++i)
        bytes[i] = static_cast<char>((length >> (8 * i)) & 0xFF);
    return package_test::Compress(bytes);
}

std::vector<DamageCase> Cases(const std::string& p)
{
    constexpr std::size_t kInTable = 24;  // past the stream and block headers, in the table's bits
    return {
        {"byte flipped at the table", Flipped(p, kInTable), 6},
        {"byte flipped in the middle", Flipped(p, p.size() / 2), 6},
        {"last byte flipped", Flipped(p, p.size() - 1), 6},
        {"cut in the middle", p.substr(0, p.size() / 2), 6},
        {"last byte cut", p.substr(0, p.size() - 1), 6},
        {"bytes appended", p + "not a bzip2 stream", 6},
        {"wrong CRC on the first entry", WithTable(p, [](auto& e) { e.front().crc ^= 1; }), 3},
        {"wrong CRC on the last entry", WithTable(p, [](auto& e) { e.back().crc ^= 1; }), 3},
        {"an entry's size runs past the end", WithTable(p, [](auto& e) { e.back().size += 100; }), 7},
        {"table length one too long", WithTableLength(p, 1), 7},
        {"table length one too short", WithTableLength(p, -1), 7},
    };
}

}  // namespace

int SweepDamagedPackages(const SweepOptions& options)
{
    const std::vector<DamageCase> cases = Cases(options.smallPackage);
    const std::wstring copy = ScratchFolder() + L"\\damaged.exe";
    int clean = 0;
    int failures = 0;
    for (const DamageCase& c : cases) {
        CleanMachine();
        const Machine before = TakeMachine();
        if (!CopyInstallerWithPackage(options.shipped, copy, c.package)) {
            std::printf("  DIFFERS damaged package, %s: the copy of the installer could not be made\n", c.name);
            ++failures;
            continue;
        }
        const RunResult run = RunQuiet(copy);
        const std::vector<std::wstring> left = Compare(before, TakeMachine(), true);
        const std::string status = "(Error Code " + std::to_string(c.code) + ")";
        const bool code = run.exitCode == static_cast<DWORD>(exit_code::kFailed) &&
                          run.log.find(status) != std::string::npos;
        if (left.empty())
            ++clean;
        if (left.empty() && code) {
            if (options.verbose)
                std::printf("  damaged package, %s: code %d, nothing left\n", c.name, c.code);
            continue;
        }
        ++failures;
        std::printf("  DIFFERS damaged package, %s: exit code %lu, expected 1603 and \"%s\"\n", c.name, run.exitCode,
                    status.c_str());
        for (const std::wstring& line : left)
            std::printf("      %s\n", Narrow(line).c_str());
        if (!code)
            std::printf("%s\n", run.log.c_str());
    }
    ::DeleteFileW(copy.c_str());
    std::printf("damaged packages: %d of %zu left nothing behind\n", clean, cases.size());
    return failures;
}

}  // namespace va::test
