#include "tools/packager/package_writer.h"

#include <bzlib.h>

#include <fstream>
#include <stdexcept>
#include <vector>

#include "engine/package/core/crc32.h"
#include "engine/package/core/package_format.h"
#include "tools/packager/progress.h"
#include "tools/packager/text.h"

namespace packager {
namespace {

constexpr std::size_t kChunk = 1 << 16;

class Compressor {
public:
    Compressor(std::ofstream& out, int blockSize100k) : out_(out)
    {
        if (BZ2_bzCompressInit(&stream_, blockSize100k, 0, 0) != BZ_OK)
            throw std::runtime_error("bzip2 compressor cannot start");
    }
    ~Compressor() { BZ2_bzCompressEnd(&stream_); }

    void write(const char* bytes, std::size_t length) { run(bytes, length, BZ_RUN); }
    void finish() { run(nullptr, 0, BZ_FINISH); }
    std::uint64_t written() const noexcept { return written_; }

private:
    void run(const char* bytes, std::size_t length, int action)
    {
        stream_.next_in = const_cast<char*>(bytes);
        stream_.avail_in = static_cast<unsigned int>(length);
        while (true) {
            stream_.next_out = buffer_;
            stream_.avail_out = sizeof buffer_;
            const int rc = BZ2_bzCompress(&stream_, action);
            if (rc < 0)
                throw std::runtime_error("bzip2 compression failed (" + std::to_string(rc) + ")");
            const std::size_t produced = sizeof buffer_ - stream_.avail_out;
            out_.write(buffer_, static_cast<std::streamsize>(produced));
            written_ += produced;
            if (action == BZ_FINISH ? rc == BZ_STREAM_END : stream_.avail_in == 0)
                break;
        }
    }

    std::ofstream& out_;
    bz_stream stream_{};
    char buffer_[kChunk];
    std::uint64_t written_ = 0;
};

std::ifstream open_source(const ManifestEntry& entry)
{
    std::ifstream in(entry.file, std::ios::binary);
    if (!in)
        throw std::runtime_error("line " + std::to_string(entry.line) + ": cannot read '" + entry.file.string() + "'");
    return in;
}

}  // namespace

PackResult write_package(const std::vector<ManifestEntry>& entries, const std::filesystem::path& output,
                         std::ostream* progress, int blockSize100k)
{
    std::uint64_t sum = 0;
    for (const ManifestEntry& e : entries)
        sum += std::filesystem::file_size(e.file);
    Progress shown(progress, "packing", 2 * sum);

    // First pass: sizes and checksums, which the table in front needs.
    std::vector<va::PackageEntry> table;
    std::vector<char> chunk(kChunk);
    for (const ManifestEntry& e : entries) {
        std::ifstream in = open_source(e);
        va::Crc32 crc;
        std::uint64_t size = 0;
        while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
            crc.update(chunk.data(), static_cast<std::size_t>(in.gcount()));
            size += static_cast<std::uint64_t>(in.gcount());
            shown.advance(static_cast<std::uint64_t>(in.gcount()));
        }
        if (in.bad())
            throw std::runtime_error("line " + std::to_string(e.line) + ": error reading '" + e.file.string() + "'");
        table.push_back({e.source, e.destination, e.kind, size, crc.value(), {}});  // the root is the reader's
    }

    const std::filesystem::path partial = output.string() + ".partial";
    PackResult result;
    try {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out)
            throw std::runtime_error("cannot write '" + partial.string() + "'");
        Compressor compressor(out, blockSize100k);
        const std::vector<unsigned char> header = va::encode_table(table);
        compressor.write(reinterpret_cast<const char*>(header.data()), header.size());
        result.decompressed = header.size();
        for (std::size_t i = 0; i < entries.size(); ++i) {
            std::ifstream in = open_source(entries[i]);
            std::uint64_t size = 0;
            while (in.read(chunk.data(), static_cast<std::streamsize>(chunk.size())) || in.gcount() > 0) {
                compressor.write(chunk.data(), static_cast<std::size_t>(in.gcount()));
                size += static_cast<std::uint64_t>(in.gcount());
                shown.advance(static_cast<std::uint64_t>(in.gcount()));
            }
            if (size != table[i].size)
                throw std::runtime_error("line " + std::to_string(entries[i].line) + ": '" +
                                         entries[i].file.string() + "' changed while it was packed");
            result.decompressed += size;
        }
        compressor.finish();
        result.compressed = compressor.written();
        out.close();
        if (!out)
            throw std::runtime_error("cannot write '" + partial.string() + "'");
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(partial, ignored);
        throw;
    }
    std::filesystem::rename(partial, output);
    result.entries = entries.size();
    return result;
}

}  // namespace packager
