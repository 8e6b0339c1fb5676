#include "engine/package/core/package_extractor.h"

#include <boost/system/system_error.hpp>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>

#include "engine/package/core/compress_error.h"

namespace va {

namespace {

constexpr int kSharingViolation = 32;  // ERROR_SHARING_VIOLATION
constexpr int kReadBackRetries = 3;

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

}  // namespace va
