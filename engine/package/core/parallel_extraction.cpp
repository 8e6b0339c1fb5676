#include "engine/package/core/parallel_extraction.h"

#include <algorithm>
#include <array>
#include <memory>
#include <optional>
#include <span>

#include "engine/package/core/bzip2_block_decoder.h"
#include "engine/package/core/memory_stream.h"
#include "engine/package/core/parallel_bzip2.h"

namespace va {
namespace {

constexpr std::size_t kChunk = 4096;  // the serial chain's buffer size

std::span<const unsigned char> unread_bytes(const MemoryStreamBuffer& memory)
{
    const std::span<const char> unread = memory.unread();
    return {reinterpret_cast<const unsigned char*>(unread.data()), unread.size()};
}

// The stream as the serial reader leaves it: read to its end.
void read_to_end(std::istream& stream)
{
    stream.rdbuf()->pubseekoff(0, std::ios_base::end, std::ios_base::in);
}

class ChunkFeeder {
public:
    explicit ChunkFeeder(PackageExtractor& extractor) : extractor_(extractor) {}

    void put(std::span<const char> bytes)
    {
        while (!bytes.empty()) {
            if (fill_ == 0 && bytes.size() >= kChunk) {
                deliver(bytes.first(kChunk));
                bytes = bytes.subspan(kChunk);
                continue;
            }
            const std::size_t n = std::min(kChunk - fill_, bytes.size());
            std::copy_n(bytes.begin(), n, buffer_.begin() + static_cast<std::ptrdiff_t>(fill_));
            fill_ += n;
            bytes = bytes.subspan(n);
            if (fill_ == kChunk) {
                fill_ = 0;
                deliver(buffer_);
            }
        }
    }

    // The serial chain's last, shorter block, sent when it closes.
    void finish()
    {
        if (fill_ != 0)
            deliver(std::span<const char>(buffer_).first(fill_));
        fill_ = 0;
    }

    std::uint64_t delivered() const noexcept { return delivered_; }

private:
    void deliver(std::span<const char> chunk)
    {
        // The extractor takes a block in parts where an entry ends.
        std::size_t done = 0;
        while (done < chunk.size())
            done += static_cast<std::size_t>(
                extractor_.write(chunk.data() + done, static_cast<std::streamsize>(chunk.size() - done)));
        delivered_ += chunk.size();
    }

    PackageExtractor& extractor_;
    std::array<char, kChunk> buffer_{};
    std::size_t fill_ = 0;
    std::uint64_t delivered_ = 0;
};

// A block too large to keep, decoded again here straight into the feeder.
class FeederOutput : public bzip2::BlockOutput {
public:
    explicit FeederOutput(ChunkFeeder& feeder) : feeder_(feeder) {}
    std::span<char> space() override { return scratch_; }
    void produced(std::size_t count) override { feeder_.put(std::span<const char>(scratch_).first(count)); }

private:
    ChunkFeeder& feeder_;
    std::array<char, 65536> scratch_{};
};

}  // namespace

bool verify_in_parallel(std::istream& stream, unsigned processors)
{
    const MemoryStreamBuffer* memory = memory_buffer_of(stream);
    if (!memory || !bzip2::sound_in_parallel(unread_bytes(*memory), bzip2::parallel_limits(processors)))
        return false;
    read_to_end(stream);
    return true;
}

ParallelExtraction extract_in_parallel(std::istream& stream, PackageExtractor& extractor, unsigned processors)
{
    const MemoryStreamBuffer* memory = memory_buffer_of(stream);
    const bzip2::ParallelLimits limits = bzip2::parallel_limits(processors);
    if (!memory || limits.workers == 0)
        return {};
    const std::span<const unsigned char> data = unread_bytes(*memory);
    ChunkFeeder feeder(extractor);
    std::unique_ptr<bzip2::BlockDecoder> own;  // only for blocks too large to keep
    {
        // What the decoding raises (out of memory, no threads) only ends the
        // parallel part; what the extractor raises is the extraction's.
        using State = bzip2::ParallelDecoder::Block::State;
        std::optional<bzip2::ParallelDecoder> decoder;
        const auto next = [&]() -> bzip2::ParallelDecoder::Block {
            try {
                if (!decoder)
                    decoder.emplace(data, limits, true);
                return decoder->next();
            } catch (...) {
                return {};  // doubt
            }
        };
        for (bool more = true; more;) {
            const bzip2::ParallelDecoder::Block block = next();
            switch (block.state) {
            case State::bytes:
                for (const std::span<const char> piece : block.pieces)
                    feeder.put(piece);
                break;
            case State::oversize: {
                try {
                    if (!own)
                        own = std::make_unique<bzip2::BlockDecoder>();
                } catch (...) {
                    return {false, 0, feeder.delivered()};
                }
                FeederOutput output(feeder);
                if (!own->decode(data, block.segment, output))
                    return {false, 0, feeder.delivered()};
                break;
            }
            case State::end:
                more = false;
                break;
            case State::doubt:
                return {false, 0, feeder.delivered()};
            }
        }
    }
    feeder.finish();
    read_to_end(stream);
    char c;
    stream.read(&c, 1);  // the serial chain's last read finds the end: eof and fail
    return {true, data.size(), feeder.delivered()};
}

}  // namespace va
