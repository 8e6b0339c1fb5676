#pragma once
// A line per tenth of the work, only for work large enough to wait for.

#include <cstdint>
#include <ostream>
#include <string>

namespace packager {

class Progress {
public:
    Progress(std::ostream* out, std::string what, std::uint64_t total)
        : out_(total >= kWorthShowing ? out : nullptr), what_(std::move(what)), total_(total) {}

    void advance(std::uint64_t amount)
    {
        done_ += amount;
        if (!out_ || total_ == 0)
            return;
        const int tenth = static_cast<int>(done_ * 10 / total_);
        if (tenth > shown_) {
            shown_ = tenth;
            *out_ << what_ << ": " << tenth * 10 << "% (" << done_ / (1 << 20) << " of " << total_ / (1 << 20)
                  << " MiB)" << std::endl;
        }
    }

private:
    static constexpr std::uint64_t kWorthShowing = 16ull << 20;
    std::ostream* out_;
    std::string what_;
    std::uint64_t total_;
    std::uint64_t done_ = 0;
    int shown_ = 0;
};

}  // namespace packager
