#include "engine/package/core/package_reading.h"

#include <boost/iostreams/categories.hpp>
#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/null.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <thread>

#include "engine/package/core/compress_error.h"
#include "engine/package/core/exception_code.h"
#include "engine/package/core/parallel_extraction.h"

namespace va {
namespace io = boost::iostreams;

namespace {

constexpr std::streamsize kBlockSize = 4096;

// The chain's last link; loops until the extractor has taken the whole
// block (it takes 0 bytes when it completes an empty entry).  The first
// `skip` bytes are those the parallel decoding has already delivered.
struct ExtractorSink {
    using char_type = char;
    using category = io::sink_tag;
    PackageExtractor* extractor;
    std::uint64_t skip = 0;

    std::streamsize write(const char* bytes, std::streamsize length)
    {
        const auto skipped = static_cast<std::streamsize>(std::min<std::uint64_t>(skip, static_cast<std::uint64_t>(length)));
        skip -= static_cast<std::uint64_t>(skipped);
        std::streamsize done = skipped;
        while (done < length)
            done += extractor->write(bytes + done, length - done);
        return length;
    }
};

// The decompressor of the chain, stopped at its first failure.  The chain
// swallows an error raised while it flushes and goes on writing; libbz2
// must not be called again after a data error (it then reads out of
// bounds), so every later call raises the first error again.
class guarded_bzip2_decompressor : public io::bzip2_decompressor {
public:
    guarded_bzip2_decompressor() : io::bzip2_decompressor(io::bzip2::default_small, kBlockSize) {}

    template <typename Sink>
    std::streamsize write(Sink& sink, const char* bytes, std::streamsize length)
    {
        return guarded([&] { return io::bzip2_decompressor::write(sink, bytes, length); });
    }

    template <typename Sink>
    void close(Sink& sink, std::ios_base::openmode which)
    {
        if (*failure_)
            return;  // nothing more to decompress or to check
        guarded([&] {
            io::bzip2_decompressor::close(sink, which);
            return 0;
        });
    }

    std::exception_ptr failure() const { return *failure_; }

private:
    template <typename F>
    auto guarded(F f)
    {
        if (*failure_)
            std::rethrow_exception(*failure_);
        try {
            return f();
        } catch (const io::bzip2_error&) {
            *failure_ = std::current_exception();
            throw;
        }
    }

    // Shared by the copies the chain makes.
    std::shared_ptr<std::exception_ptr> failure_ = std::make_shared<std::exception_ptr>();
};

// The package stream as the chain's source; it runs dry as soon as the
// extractor has failed, so a cancelled extraction does not decompress the
// rest of the package into nothing.
struct PackageSource {
    using char_type = char;
    using category = io::source_tag;
    std::istream* stream;
    const PackageExtractor* extractor;
    const guarded_bzip2_decompressor* decompressor;

    std::streamsize read(char* bytes, std::streamsize length)
    {
        if (extractor->failure() || decompressor->failure())
            return -1;
        stream->read(bytes, length);
        const std::streamsize got = stream->gcount();
        return got == 0 ? -1 : got;
    }
};

// The whole stream through the chain into the extractor, the first `skip`
// decompressed bytes left out; returns the compressed bytes read.
std::streamsize decompress_serially(std::istream& stream, PackageExtractor& extractor, std::uint64_t skip)
{
    std::streamsize compressed = 0;
    guarded_bzip2_decompressor decompressor;
    try {
        io::filtering_ostream chain;
        chain.push(decompressor, kBlockSize);
        chain.push(ExtractorSink{&extractor, skip}, kBlockSize);
        PackageSource source{&stream, &extractor, &decompressor};
        compressed = io::copy(source, chain, kBlockSize);
    } catch (...) {
        if (!extractor.failure() && !decompressor.failure())
            throw;
    }
    // The first failure is the one reported, wherever the chain left it.
    if (extractor.failure())
        std::rethrow_exception(extractor.failure());
    if (decompressor.failure())
        std::rethrow_exception(decompressor.failure());
    return compressed;
}

}  // namespace

bool extract_package(std::istream& stream, const FolderInputs& folders,
                     const notification_callback& callback, ExtractionHost& host)
{
    std::optional<PackageExtractor> extractor;
    std::error_code code;
    std::wstring text;
    const auto describe = [&](const std::exception* e) {
        code = e ? error_code_of(*e) : make_error_code(compress_errc::unexpected);
        if (const PackageEntry* entry = extractor ? extractor->started_entry() : nullptr)
            text = entry->destination;
        else if (const auto* fs = dynamic_cast<const std::filesystem::filesystem_error*>(e))
            text = fs->path1().wstring();
    };
    try {
        if (callback)
            callback(notification{notification::start{}});  // it stops us only by raising
        extractor.emplace(folders, callback, host);
        std::streamsize compressed = 0;
        if (stream.peek() != std::char_traits<char>::eof()) {  // an empty resource holds no stream
            const ParallelExtraction parallel = extract_in_parallel(stream, *extractor, host.processor_count());
            compressed = parallel.complete ? static_cast<std::streamsize>(parallel.compressed)
                                           : decompress_serially(stream, *extractor, parallel.delivered);
        }
        extractor->finish();
        if (!extractor->complete())
            throw_compress_error(compress_errc::unexpected);
        if (callback)
            callback(notification{notification::finished{static_cast<std::uint64_t>(compressed),
                                                         extractor->total()}});
        return true;
    } catch (const std::exception& e) {
        describe(&e);
    } catch (...) {
        describe(nullptr);  // of no known kind: still reported, never escaping
    }
    if (callback) {
        try {
            callback(notification{notification::error{code, text}});
        } catch (...) {
            // The failure is already being reported; the answer is not examined.
        }
    }
    return false;
}

bool verify_package(std::istream& stream) { return verify_package(stream, std::thread::hardware_concurrency()); }

bool verify_package(std::istream& stream, unsigned processors)
{
    if (stream.peek() == std::char_traits<char>::eof())
        return !stream.bad();  // nothing to decompress: the extraction reports it
    if (!verify_in_parallel(stream, processors)) {  // in doubt, the serial check decides
        guarded_bzip2_decompressor decompressor;
        try {
            io::filtering_ostream chain;
            chain.push(decompressor, kBlockSize);
            chain.push(io::null_sink(), kBlockSize);
            io::copy(stream, chain, kBlockSize);
        } catch (...) {
            if (!decompressor.failure())
                throw;
        }
        if (decompressor.failure())
            std::rethrow_exception(decompressor.failure());
    }
    return stream.good() && stream.peek() == std::char_traits<char>::eof();
}

}  // namespace va
