#pragma once
// The streaming package reader: decompressed bytes arrive in blocks; the
// table is collected in memory, then every entry's bytes go straight into
// its file, which is read back for its CRC-32.

#include <cstdint>
#include <exception>
#include <ios>
#include <istream>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "engine/package/core/extraction_host.h"
#include "engine/package/core/folder_tokens.h"
#include "engine/package/core/notification.h"
#include "engine/package/core/package_format.h"
#include "engine/package/core/shared_folders.h"

namespace va {

class PackageExtractor {
public:
    PackageExtractor(FolderInputs folders, notification_callback callback, ExtractionHost& host);
    PackageExtractor(const PackageExtractor&) = delete;
    PackageExtractor& operator=(const PackageExtractor&) = delete;

    // Consumes a prefix of the block and returns its length; called again
    // with the rest.  Once a call has failed, every block is discarded.
    std::streamsize write(const char* bytes, std::streamsize length);

    // After the last block: entries of size 0 at the end of the table get
    // their (empty) files, which no further byte would bring about.
    void finish();

    // Total is known and every byte of it has arrived.
    bool complete() const noexcept { return total_ != 0 && processed_ == total_; }

    // The first failure of a write call; the chain may swallow what a sink
    // raises, so the reader takes it from here.
    std::exception_ptr failure() const noexcept { return failure_; }

    // The entry whose file_begin has been sent and whose file_end has not.
    const PackageEntry* started_entry() const noexcept;

    const std::vector<PackageEntry>& table() const noexcept { return table_; }
    std::uint64_t processed() const noexcept { return processed_; }
    std::uint64_t total() const noexcept { return total_; }
    const SharedFolderList& shared_folders() const noexcept { return shared_; }

private:
    std::streamsize collect_table(const char* bytes, std::streamsize length);
    std::streamsize receive_entry(const char* bytes, std::streamsize length);
    void read_table();
    notification::result send(notification::value_type value);
    std::uint32_t read_back_crc(const std::wstring& path);

    FolderInputs folders_;
    notification_callback callback_;
    ExtractionHost& host_;
    SharedFolderList shared_;
    std::vector<PackageEntry> table_;
    std::vector<unsigned char> buffer_;  // the table while it is collected
    std::uint64_t tableLength_ = 0;
    std::uint64_t processed_ = 0;
    std::uint64_t total_ = 0;
    std::unique_ptr<std::ostream> output_;
    std::size_t index_ = 0;  // 0: table; k: entry k (1-based)
    std::uint64_t remaining_ = 0;
    bool started_ = false;
    bool skipping_ = false;
    bool failed_ = false;
    std::exception_ptr failure_;
};

}  // namespace va
