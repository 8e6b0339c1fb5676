#include "engine/package/held_files.h"

#include <map>

#include "engine/package/core/crc32.h"
#include "support/core/path_compare.h"

namespace va {
namespace {

std::map<std::wstring, UniqueFile>& Held()
{
    static std::map<std::wstring, UniqueFile> held;
    return held;
}

// Paths compare without regard to letter case, as the file system does.
std::wstring Key(const std::wstring& path)
{
    return FoldedPathText(path);
}

}  // namespace

DWORD HoldVerifiedFile(const std::wstring& path, std::uint32_t crc)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        return error != ERROR_SUCCESS ? error : DWORD{ERROR_OPEN_FAILED};
    }
    Crc32 sum;
    char block[4096];
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), block, sizeof block, &got, nullptr)) {
            const DWORD error = ::GetLastError();
            return error != ERROR_SUCCESS ? error : DWORD{ERROR_READ_FAULT};
        }
        if (got == 0)
            break;
        sum.update(block, got);
    }
    if (sum.value() != crc)
        return ERROR_CRC;
    Held()[Key(path)] = std::move(file);
    return ERROR_SUCCESS;
}

UniqueFile TakeHeldFile(const std::wstring& path)
{
    auto& held = Held();
    const auto found = held.find(Key(path));
    if (found == held.end())
        return UniqueFile();
    UniqueFile file = std::move(found->second);
    held.erase(found);
    return file;
}

void ReleaseHeldFiles() noexcept { Held().clear(); }

}  // namespace va
