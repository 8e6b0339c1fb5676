#include "engine/package/output_file.h"

#include <filesystem>
#include <ios>
#include <system_error>
#include <vector>

#include "engine/package/core/block_output_buffer.h"
#include "engine/package/core/crc32.h"
#include "engine/package/link_free_path.h"
#include "engine/package/single_name_file.h"
#include "support/link_free_open.h"
#include "support/fault_point.h"
#include "support/handles.h"

namespace va {
namespace fs = std::filesystem;

namespace {

[[noreturn]] void ThrowStreamFailure(const char* what, DWORD error)
{
    throw std::ios_base::failure(what, std::error_code(static_cast<int>(error), std::system_category()));
}

class HandleOutputBuffer : public BlockOutputBuffer {
public:
    explicit HandleOutputBuffer(UniqueFile file) : file_(std::move(file)) {}
    ~HandleOutputBuffer() override { write_out_quietly(); }

protected:
    // One fault point per file, at its first write.
    void before_first_write() override
    {
        if (const DWORD fault = FaultPoint("write file", ERROR_DISK_FULL); fault != ERROR_SUCCESS)
            ThrowStreamFailure("write", fault);
    }

    void write_block(const char* bytes, std::size_t length) override
    {
        std::size_t done = 0;
        while (done < length) {
            DWORD written = 0;
            if (!::WriteFile(file_.get(), bytes + done, static_cast<DWORD>(length - done), &written, nullptr) ||
                written == 0)
                ThrowStreamFailure("write", ::GetLastError());
            done += written;
        }
    }

private:
    UniqueFile file_;
};

class HandleOutputStream : public std::ostream {
public:
    explicit HandleOutputStream(UniqueFile file) : std::ostream(nullptr), buffer_(std::move(file))
    {
        rdbuf(&buffer_);
    }

private:
    HandleOutputBuffer buffer_;
};

// Like create_directories, but a failure carries the Windows error.
void CreateFolders(const fs::path& folder)
{
    const DWORD attributes = ::GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return;
    const fs::path parent = folder.parent_path();
    if (!parent.empty() && parent != folder && parent != folder.root_path())
        CreateFolders(parent);
    if ((FaultPoint("create folder", ERROR_ACCESS_DENIED) != ERROR_SUCCESS ||
         !::CreateDirectoryW(folder.c_str(), nullptr)) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS)
        throw fs::filesystem_error("create folder", folder,
                                   std::error_code(static_cast<int>(::GetLastError()), std::system_category()));
}

FolderStatus StatusOf(const std::wstring& path)
{
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (status.type() == fs::file_type::not_found)
        return FolderStatus::not_found;
    if (ec)
        throw fs::filesystem_error("status", path, ec);
    return status.type() == fs::file_type::directory ? FolderStatus::folder : FolderStatus::other;
}

}  // namespace

void ApplySharedFolderRights(const std::wstring& folder, SharedFolderList& shared, const GrantFn& grant)
{
    shared.apply_rights(folder, StatusOf, [&grant](const std::wstring& p) {
        grant(p, kSharedFolderAccess, static_cast<BYTE>(kSharedFolderInheritance));
    });
}

std::unique_ptr<std::ostream> OpenOutputFile(const std::wstring& destination, const std::wstring& root,
                                             SharedFolderList& shared, const GrantFn& grant,
                                             PinnedFolderChain* pinned)
{
    const fs::path target(destination);
    std::error_code ec;
    const fs::file_status link = fs::symlink_status(target, ec);
    if (link.type() == fs::file_type::not_found || link.type() == fs::file_type::none) {
        const fs::path parent = target.parent_path();
        if (!parent.empty() && !fs::exists(parent, ec))
            CreateFolders(parent);
    }
    // From here on no folder of the chain can be swapped for a link; the
    // file itself is checked through the handle it is written with.
    PinnedFolderChain local;
    PinnedFolderChain& chain = pinned ? *pinned : local;
    if (const DWORD error = chain.Pin(root, target.parent_path().wstring()); error != ERROR_SUCCESS)
        ThrowStreamFailure("open", error);
    ApplySharedFolderRights(target.parent_path().wstring(), shared, grant);

    if (const DWORD fault = FaultPoint("open file", ERROR_ACCESS_DENIED); fault != ERROR_SUCCESS)
        ThrowStreamFailure("open", fault);
    UniqueFile file;
    if (const DWORD error = OpenSingleNameFileForWriting(destination, file); error != ERROR_SUCCESS)
        ThrowStreamFailure("open", error == kLinkOnTheWay ? DWORD{ERROR_CANT_ACCESS_FILE} : error);
    return std::make_unique<HandleOutputStream>(std::move(file));
}

std::uint32_t file_crc32(const std::wstring& path)
{
    UniqueFile file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file)
        ThrowStreamFailure("open for the checksum", ::GetLastError());
    if (const DWORD fault = FaultPoint("read back file", ERROR_READ_FAULT); fault != ERROR_SUCCESS)
        ThrowStreamFailure("read for the checksum", fault);
    Crc32 crc;
    // Large reads: one system call per 64 KB instead of per 4 KB.
    std::vector<char> block(64 * 1024);
    while (true) {
        DWORD got = 0;
        if (!::ReadFile(file.get(), block.data(), static_cast<DWORD>(block.size()), &got, nullptr))
            ThrowStreamFailure("read for the checksum", ::GetLastError());
        if (got == 0)
            break;
        crc.update(block.data(), got);
    }
    return crc.value();
}

}  // namespace va
