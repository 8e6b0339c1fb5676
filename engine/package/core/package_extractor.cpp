#include "engine/package/core/package_extractor.h"

#include <boost/iostreams/categories.hpp>
#include <boost/iostreams/copy.hpp>
#include <boost/iostreams/device/null.hpp>
#include <boost/iostreams/filter/bzip2.hpp>
#include <boost/iostreams/filtering_stream.hpp>
#include <boost/system/system_error.hpp>

#include <algorithm>
#include <chrono>
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
constexpr int kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr int kReadBackRetries = 3;

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

bool is_sharing_violation(const std::exception& e)
{
    if (const auto* system = dynamic_cast<const std::system_error*>(&e))
        return system->code() == std::error_code(kSharingViolation, std::system_category());
    if (const auto* boostError = dynamic_cast<const boost::system::system_error*>(&e))
        return boostError->code().category() == boost::system::system_category() &&
               boostError->code().value() == kSharingViolation;
    return false;
}

[[noreturn]] void interrupted() { throw_compress_error(compress_errc::interrupted); }

}  // namespace

unsigned ExtractionHost::processor_count() { return std::thread::hardware_concurrency(); }

void ExtractionHost::wait_before_retry()
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    std::this_thread::sleep_until(deadline);
}

PackageExtractor::PackageExtractor(FolderInputs folders, notification_callback callback,
                                   ExtractionHost& host)
    : folders_(std::move(folders)),
      callback_(std::move(callback)),
      host_(host),
      shared_([&host](const std::wstring& a, const std::wstring& b) { return host.same_path(a, b); })
{
}

notification::result PackageExtractor::send(notification::value_type value)
{
    if (!callback_)
        return notification::proceed;
    return callback_(notification{std::move(value)});
}

const PackageEntry* PackageExtractor::started_entry() const noexcept
{
    if (index_ == 0 || !started_ || index_ > table_.size())
        return nullptr;
    return &table_[index_ - 1];
}

std::streamsize PackageExtractor::write(const char* bytes, std::streamsize length)
{
    if (failed_)
        return length;
    try {
        return index_ == 0 ? collect_table(bytes, length) : receive_entry(bytes, length);
    } catch (...) {
        failed_ = true;  // the chain's closing while unwinding must not touch files
        failure_ = std::current_exception();
        throw;
    }
}

std::streamsize PackageExtractor::collect_table(const char* bytes, std::streamsize length)
{
    const auto* p = reinterpret_cast<const unsigned char*>(bytes);
    if (buffer_.size() < 8) {
        const std::size_t take = std::min<std::size_t>(8 - buffer_.size(), static_cast<std::size_t>(length));
        buffer_.insert(buffer_.end(), p, p + take);
        if (buffer_.size() == 8) {
            tableLength_ = read_table_length(buffer_.data());
            if (!plausible_table_length(tableLength_))
                throw_compress_error(compress_errc::unexpected);
        }
        return static_cast<std::streamsize>(take);
    }
    const std::size_t take = static_cast<std::size_t>(
        std::min<std::uint64_t>(tableLength_ - buffer_.size(), static_cast<std::uint64_t>(length)));
    buffer_.insert(buffer_.end(), p, p + take);
    if (buffer_.size() == tableLength_)
        read_table();
    return static_cast<std::streamsize>(take);
}

void PackageExtractor::read_table()
{
    table_ = parse_table(buffer_.data(), buffer_.size());
    buffer_ = {};
    std::uint64_t total = tableLength_;
    for (PackageEntry& entry : table_) {
        const std::wstring_view name = file_name_of(entry.source);
        if (name.empty() || name == L"." || name == L"..")
            throw_compress_error(compress_errc::unexpected);  // would name the folder itself
        std::wstring folder = resolve_destination(
            entry.destination, folders_,
            [this](int csidl, int second) { return host_.known_folder(csidl, second); },
            [this](const std::wstring& f) { shared_.mark_shared(f); }, &entry.root);
        if (folder.empty())
            throw_compress_error(compress_errc::unexpected);  // the file would land in the current folder
        if (folder.back() != L'\\' && folder.back() != L'/')
            folder += L'\\';
        entry.destination = folder + std::wstring(name);
        if (entry.size > UINT64_MAX - total)
            throw_compress_error(compress_errc::unexpected);
        total += entry.size;
    }
    processed_ = tableLength_;
    total_ = total;
    if (callback_)
        send(notification::progress{processed_, total_});  // nothing to cancel yet
    index_ = 1;
}

std::streamsize PackageExtractor::receive_entry(const char* bytes, std::streamsize length)
{
    if (index_ - 1 >= table_.size())
        throw_compress_error(compress_errc::unexpected);  // more data than the table describes
    const PackageEntry& entry = table_[index_ - 1];
    if (!started_) {
        const notification::result answer = send(notification::file_begin{&entry});
        if (answer == notification::cancel)
            interrupted();
        skipping_ = answer == notification::skip;
        remaining_ = entry.size;
        started_ = true;
        if (!skipping_) {
            output_ = host_.open_output_file(entry.destination, entry.root, shared_);
            output_->exceptions(std::ios_base::failbit | std::ios_base::badbit);
        }
    }
    const std::uint64_t n = std::min<std::uint64_t>(remaining_, static_cast<std::uint64_t>(length));
    if (!skipping_ && n != 0)
        output_->write(bytes, static_cast<std::streamsize>(n));
    remaining_ -= n;
    processed_ += n;
    if (send(notification::progress{processed_, total_}) == notification::cancel)
        interrupted();
    if (remaining_ == 0) {
        if (!skipping_) {
            output_->flush();
            output_.reset();
            if (read_back_crc(entry.destination) != entry.crc)
                throw_compress_error(compress_errc::invalid_checksum);
            if (send(notification::file_end{&entry}) == notification::cancel)
                interrupted();
        }
        ++index_;
        started_ = false;
        skipping_ = false;
    }
    return static_cast<std::streamsize>(n);
}

std::uint32_t PackageExtractor::read_back_crc(const std::wstring& path)
{
    for (int attempt = 0;; ++attempt) {
        try {
            return host_.file_crc32(path);
        } catch (const std::exception& e) {
            if (attempt >= kReadBackRetries || !is_sharing_violation(e))
                throw;
        }
        host_.wait_before_retry();
    }
}

void PackageExtractor::finish()
{
    if (failed_ || index_ == 0)
        return;
    try {
        while (index_ - 1 < table_.size() && table_[index_ - 1].size == 0 && remaining_ == 0)
            receive_entry(nullptr, 0);
    } catch (...) {
        failed_ = true;
        failure_ = std::current_exception();
        throw;
    }
}

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
