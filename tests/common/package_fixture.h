#pragma once
// Building packages in memory and watching the reader, for the native and
// the Windows tests alike (and the fuzz target: no test framework here).

#include <bzlib.h>

#include <algorithm>
#include <map>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/crc32.h"
#include "engine/package/core/extraction_host.h"
#include "engine/package/core/folder_tokens.h"
#include "engine/package/core/notification.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_format.h"

namespace package_test {

struct FileSpec {
    std::wstring source;
    std::wstring folder;
    std::uint32_t kind = 0;
    std::string data;
};

inline std::vector<va::PackageEntry> Entries(const std::vector<FileSpec>& files)
{
    std::vector<va::PackageEntry> entries;
    for (const FileSpec& f : files)
        entries.push_back({f.source, f.folder, f.kind, f.data.size(), va::crc32_of(f.data.data(), f.data.size()), {}});
    return entries;
}

// The decompressed bytes offered to the extractor `block` at a time, each
// block again until it has taken all of it (the chain's way).
inline void WriteInBlocks(va::PackageExtractor& extractor, const std::string& archive, std::size_t block)
{
    for (std::size_t at = 0; at < archive.size(); at += block) {
        const std::size_t n = std::min(block, archive.size() - at);
        std::streamsize done = 0;
        while (done < static_cast<std::streamsize>(n))
            done += extractor.write(archive.data() + at + done, static_cast<std::streamsize>(n) - done);
    }
}

// The decompressed package: table then data.
inline std::string Archive(const std::vector<va::PackageEntry>& entries, const std::vector<FileSpec>& files)
{
    const std::vector<unsigned char> table = va::encode_table(entries);
    std::string out(table.begin(), table.end());
    for (const FileSpec& f : files)
        out += f.data;
    return out;
}

inline std::string Archive(const std::vector<FileSpec>& files) { return Archive(Entries(files), files); }

// Level 1 makes blocks of 100 kB: several blocks from little data.
inline std::string Compress(const std::string& bytes, int level = 9)
{
    std::string out(bytes.size() + bytes.size() / 100 + 600, '\0');
    unsigned int length = static_cast<unsigned int>(out.size());
    const int rc = BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(bytes.data()),
                                            static_cast<unsigned int>(bytes.size()), level, 0, 0);
    if (rc != BZ_OK)
        throw std::runtime_error("compression failed");
    out.resize(length);
    return out;
}

// Files live in a map; failures are injected per path.
class MemoryHost : public va::ExtractionHost {
public:
    std::map<std::wstring, std::string> files;
    std::map<int, std::wstring> folders;  // csidl -> folder
    std::vector<std::wstring> opened;
    std::map<std::wstring, std::error_code> openFailures;
    std::map<std::wstring, int> sharingViolations;  // read-backs that fail before one succeeds
    std::map<std::wstring, std::string> alterOnDisk;  // what the read-back finds instead
    int waits = 0;
    unsigned processors = 1;  // decompression on this thread only, unless a test says otherwise

    std::wstring known_folder(int csidl, int second) override
    {
        for (int c : {csidl, second}) {
            auto it = folders.find(c);
            if (c != va::csidl::none && it != folders.end() && !it->second.empty())
                return it->second;
        }
        va::throw_compress_error(va::compress_errc::unexpected);
    }

    bool same_path(const std::wstring& a, const std::wstring& b) override { return a == b; }

    std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination, const std::wstring&,
                                                   va::SharedFolderList&) override
    {
        opened.push_back(destination);
        auto failure = openFailures.find(destination);
        if (failure != openFailures.end())
            throw std::system_error(failure->second, "open");
        return std::make_unique<Capture>(files[destination]);
    }

    std::uint32_t file_crc32(const std::wstring& path) override
    {
        auto busy = sharingViolations.find(path);
        if (busy != sharingViolations.end() && busy->second > 0) {
            --busy->second;
            throw std::system_error(32, std::system_category(), "read back");
        }
        auto it = files.find(path);
        if (it == files.end())
            throw std::ios_base::failure("no such file");
        auto altered = alterOnDisk.find(path);
        const std::string& bytes = altered != alterOnDisk.end() ? altered->second : it->second;
        return va::crc32_of(bytes.data(), bytes.size());
    }

    void wait_before_retry() override { ++waits; }

    unsigned processor_count() override { return processors; }

private:
    class Capture : public std::ostream {
    public:
        explicit Capture(std::string& target) : std::ostream(&buffer_), target_(target) {}
        ~Capture() override { target_ = buffer_.str(); }

    private:
        std::stringbuf buffer_;
        std::string& target_;
    };
};

// Records every notification as one line and answers from a script.
class Recorder {
public:
    // One line per notification ("begin C:\\x", "progress 12/40", ...); the
    // notifications themselves point into the reader's table, gone after it.
    std::vector<std::wstring> events;
    std::vector<va::notification> received;
    // Answer for the n-th notification of an index (0-based), else proceed.
    std::map<std::pair<std::size_t, int>, va::notification::result> answers;

    va::notification_callback callback()
    {
        return [this](const va::notification& n) { return on(n); };
    }

    int count(std::size_t index) const
    {
        int c = 0;
        for (const va::notification& n : received)
            c += n.index() == index;
        return c;
    }

    const va::notification::error* error() const
    {
        for (const va::notification& n : received)
            if (auto* e = std::get_if<va::notification::error>(&n.value))
                return e;
        return nullptr;
    }

private:
    static std::wstring describe(const va::notification& n)
    {
        if (auto* b = std::get_if<va::notification::file_begin>(&n.value))
            return L"begin " + b->entry->destination;
        if (auto* e = std::get_if<va::notification::file_end>(&n.value))
            return L"end " + e->entry->destination;
        if (auto* p = std::get_if<va::notification::progress>(&n.value))
            return L"progress " + std::to_wstring(p->processed) + L"/" + std::to_wstring(p->total);
        const wchar_t* names[] = {L"start", L"finished", L"", L"", L"", L"error"};
        return names[n.index()];
    }

    va::notification::result on(const va::notification& n)
    {
        received.push_back(n);
        events.push_back(describe(n));
        const int seen = count(n.index()) - 1;
        auto it = answers.find({n.index(), seen});
        return it == answers.end() ? va::notification::proceed : it->second;
    }
};

}  // namespace package_test
