#include "tools/packager/package_lister.h"

#include <bzlib.h>

#include <algorithm>
#include <fstream>
#include <iomanip>
#include <system_error>

#include "engine/package/core/crc32.h"
#include "tools/packager/progress.h"
#include "tools/packager/text.h"

namespace packager {
namespace {

constexpr std::size_t kChunk = 1 << 16;

// Consumes the decompressed bytes as the installer does: table first, then
// each entry in turn, checksummed rather than written.
class Consumer {
public:
    explicit Consumer(Listing& listing) : listing_(listing) {}

    void take(const unsigned char* p, std::size_t n)
    {
        listing_.decompressed += n;
        while (n > 0 && !stopped_) {
            if (!tableDone_) {
                const std::size_t want = buffer_.size() < 8 ? 8 - buffer_.size()
                                                             : static_cast<std::size_t>(listing_.tableLength - buffer_.size());
                const std::size_t k = std::min(want, n);
                buffer_.insert(buffer_.end(), p, p + k);
                p += k, n -= k;
                if (buffer_.size() == 8 && listing_.tableLength == 0) {
                    listing_.tableLength = va::read_table_length(buffer_.data());
                    if (!va::plausible_table_length(listing_.tableLength))
                        return stop("table length " + std::to_string(listing_.tableLength) + " is no table");
                }
                if (listing_.tableLength != 0 && buffer_.size() == listing_.tableLength)
                    parse();
                continue;
            }
            skip_empty();
            if (current_ >= listing_.entries.size())
                return stop("bytes after the last entry");
            ListedEntry& e = listing_.entries[current_];
            const std::size_t k = static_cast<std::size_t>(std::min<std::uint64_t>(e.entry.size - e.received, n));
            crc_.update(p, k);
            e.received += k;
            p += k, n -= k;
            if (e.received == e.entry.size)
                next();
        }
    }

    void end()
    {
        if (stopped_)
            return;
        if (!tableDone_)
            return stop("stream ends inside the table");
        skip_empty();
        if (current_ < listing_.entries.size())
            listing_.problems.push_back("stream ends inside entry " + std::to_string(current_ + 1));
        for (std::size_t i = 0; i < listing_.entries.size(); ++i) {
            const ListedEntry& e = listing_.entries[i];
            if (e.received == e.entry.size && e.actualCrc != e.entry.crc)
                listing_.problems.push_back("entry " + std::to_string(i + 1) + " (" +
                                            utf8_of(std::wstring(va::file_name_of(e.entry.source))) +
                                            "): CRC-32 mismatch");
        }
    }

private:
    void stop(const std::string& why)
    {
        listing_.problems.push_back(why);
        stopped_ = true;
    }

    void parse()
    {
        try {
            for (va::PackageEntry& entry : va::parse_table(buffer_.data(), buffer_.size()))
                listing_.entries.push_back({std::move(entry), 0, 0});
        } catch (const std::system_error&) {
            return stop("the table's records do not fill its length");
        }
        tableDone_ = true;
        buffer_ = {};
    }

    void skip_empty()
    {
        while (current_ < listing_.entries.size() && listing_.entries[current_].entry.size == 0)
            next();
    }

    void next()
    {
        listing_.entries[current_].actualCrc = crc_.value();
        crc_ = va::Crc32();
        ++current_;
    }

    Listing& listing_;
    std::vector<unsigned char> buffer_;
    bool tableDone_ = false;
    bool stopped_ = false;
    std::size_t current_ = 0;
    va::Crc32 crc_;
};

}  // namespace

Listing list_package(const std::filesystem::path& package, std::ostream* progress)
{
    Listing listing;
    std::ifstream in(package, std::ios::binary);
    if (!in) {
        listing.problems.push_back("cannot read '" + package.string() + "'");
        return listing;
    }
    std::error_code ec;
    Progress shown(progress, "checking", std::filesystem::file_size(package, ec));
    Consumer consumer(listing);
    bz_stream stream{};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK) {
        listing.problems.push_back("bzip2 decompressor cannot start");
        return listing;
    }
    std::vector<char> input(kChunk), output(kChunk);
    bool ended = false;
    int rc = BZ_OK;
    while (!ended && rc == BZ_OK) {
        in.read(input.data(), static_cast<std::streamsize>(input.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
            break;
        listing.compressed += got;
        shown.advance(got);
        stream.next_in = input.data();
        stream.avail_in = static_cast<unsigned int>(got);
        while (stream.avail_in > 0 || rc == BZ_OK) {
            stream.next_out = output.data();
            stream.avail_out = static_cast<unsigned int>(output.size());
            rc = BZ2_bzDecompress(&stream);
            consumer.take(reinterpret_cast<const unsigned char*>(output.data()), output.size() - stream.avail_out);
            if (rc == BZ_STREAM_END) {
                ended = true;
                if (stream.avail_in > 0 || in.peek() != std::char_traits<char>::eof())
                    listing.problems.push_back("bytes after the bzip2 stream");
                break;
            }
            if (rc != BZ_OK || (stream.avail_in == 0 && stream.avail_out != 0))
                break;
        }
    }
    BZ2_bzDecompressEnd(&stream);
    if (rc != BZ_OK && rc != BZ_STREAM_END)
        listing.problems.push_back("damaged bzip2 data (" + std::to_string(rc) + ")");
    else if (!ended)
        listing.problems.push_back("bzip2 stream cut short");
    consumer.end();
    return listing;
}

void print_listing(const Listing& listing, std::ostream& out)
{
    out << "table " << listing.tableLength << " bytes, " << listing.entries.size() << " entries, "
        << listing.decompressed << " bytes decompressed from " << listing.compressed << "\n";
    out << "kind        size       crc32  destination\\file (source)\n";
    for (const ListedEntry& e : listing.entries) {
        const bool good = e.received == e.entry.size && e.actualCrc == e.entry.crc;
        out << std::setw(4) << e.entry.kind << std::setw(12) << e.entry.size << "  " << std::hex << std::setw(8)
            << std::setfill('0') << e.entry.crc << std::dec << std::setfill(' ') << "  "
            << utf8_of(e.entry.destination) << "\\" << utf8_of(std::wstring(va::file_name_of(e.entry.source)))
            << " (" << utf8_of(e.entry.source) << ")" << (good ? "" : "  BAD") << "\n";
    }
    for (const std::string& p : listing.problems)
        out << "problem: " << p << "\n";
    out << (listing.ok() ? "package OK\n" : "package DAMAGED\n");
}

}  // namespace packager
