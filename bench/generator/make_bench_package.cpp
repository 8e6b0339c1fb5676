// A synthetic package of a given size for the reader's benchmark: fixed
// seed, files of 4 MiB, contents about as compressible as the product's
// (text-like records mixed with noisy binary), streamed straight into the
// compressor so that even 1 GiB needs no room beyond the output.
//   make-bench-package OUTPUT SIZE_MIB

#include <bzlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "engine/package/core/crc32.h"
#include "engine/package/core/package_format.h"

namespace {

constexpr std::uint64_t kFileSize = 4ull << 20;

// Deterministic content of file `index`, produced in pieces.
class Content {
public:
    explicit Content(std::uint32_t index) : x_(0x9E3779B9u ^ (index * 2654435761u)) {}

    void fill(char* out, std::size_t n)
    {
        for (std::size_t i = 0; i < n; ++i) {
            if (pending_.empty())
                next_token();
            out[i] = pending_.back();
            pending_.pop_back();
        }
    }

private:
    std::uint32_t next() { return x_ = x_ * 1664525u + 1013904223u; }

    // Words of a record language, or a run of binary data whose values
    // wander around a base, as in images and tables of numbers.
    void next_token()
    {
        static const char* const words[] = {
            "material", "colour", "roughness", "scene", "object", "light", "camera", "texture",
            "vertex", "normal", "index", "layer", "group", "shader", "render", "pass",
            "width", "height", "depth", "value", "name", "id", "=", ";", "{", "}", "\n", "0.5",
            "1", "2", "true", "false"};
        std::string token;
        if ((next() >> 28) < 11) {
            token = words[next() >> 27];
            token += (next() >> 30) == 0 ? "\n" : " ";
        } else {
            const std::uint32_t length = 32 + (next() >> 24);
            std::uint32_t base = next() >> 24;
            for (std::uint32_t k = 0; k < length; ++k) {
                base += (next() >> 29) - 3;
                token += static_cast<char>(base + ((next() >> 30) & 1));
            }
        }
        pending_.assign(token.rbegin(), token.rend());
    }

    std::uint32_t x_;
    std::string pending_;
};

class Compressor {
public:
    explicit Compressor(std::ofstream& out) : out_(out)
    {
        if (BZ2_bzCompressInit(&s_, 9, 0, 0) != BZ_OK)
            std::abort();
    }
    ~Compressor() { BZ2_bzCompressEnd(&s_); }
    void write(const char* p, std::size_t n, int action = BZ_RUN)
    {
        s_.next_in = const_cast<char*>(p);
        s_.avail_in = static_cast<unsigned>(n);
        while (true) {
            s_.next_out = buf_;
            s_.avail_out = sizeof buf_;
            const int rc = BZ2_bzCompress(&s_, action);
            if (rc < 0)
                std::abort();
            out_.write(buf_, static_cast<std::streamsize>(sizeof buf_ - s_.avail_out));
            if (action == BZ_FINISH ? rc == BZ_STREAM_END : s_.avail_in == 0)
                break;
        }
    }

private:
    std::ofstream& out_;
    bz_stream s_{};
    char buf_[1 << 16];
};

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: make-bench-package OUTPUT SIZE_MIB\n";
        return 2;
    }
    const std::uint64_t total = std::strtoull(argv[2], nullptr, 10) << 20;
    std::vector<va::PackageEntry> entries;
    std::vector<char> chunk(1 << 16);
    for (std::uint64_t at = 0, i = 0; at < total; at += kFileSize, ++i) {
        const std::uint64_t size = std::min(kFileSize, total - at);
        Content content(static_cast<std::uint32_t>(i));
        va::Crc32 crc;
        for (std::uint64_t done = 0; done < size; done += chunk.size()) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), size - done));
            content.fill(chunk.data(), n);
            crc.update(chunk.data(), n);
        }
        entries.push_back({L"bench\\part" + std::to_wstring(i) + L".bin", L"<InstallPath>\\Bench",
                           i % 2 ? 4u : 0u, size, crc.value()});
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    Compressor compressor(out);
    const std::vector<unsigned char> table = va::encode_table(entries);
    compressor.write(reinterpret_cast<const char*>(table.data()), table.size());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        Content content(static_cast<std::uint32_t>(i));
        for (std::uint64_t done = 0; done < entries[i].size; done += chunk.size()) {
            const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(chunk.size(), entries[i].size - done));
            content.fill(chunk.data(), n);
            compressor.write(chunk.data(), n);
        }
    }
    compressor.write(nullptr, 0, BZ_FINISH);
    out.close();
    return out ? 0 : 1;
}
