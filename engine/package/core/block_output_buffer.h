#pragma once
// An output file's bytes gathered into large blocks: the reader hands over
// at most 4096 bytes at a time, and one system call per 4096 bytes costs
// more than the copy.  Everything buffered goes out when the stream is
// flushed, which the reader does before it reads the file back, so a write
// failure still surfaces while that file is the one being extracted.

#include <cstddef>
#include <memory>
#include <streambuf>

namespace va {

class BlockOutputBuffer : public std::streambuf {
public:
    // Bytes handed to write_block at once, at most (the last block of a
    // file is shorter).  The buffer grows to it as a file's bytes arrive,
    // so a small file costs a small allocation.
    static constexpr std::size_t kBlockBytes = 256 * 1024;

    BlockOutputBuffer() = default;
    BlockOutputBuffer(const BlockOutputBuffer&) = delete;
    BlockOutputBuffer& operator=(const BlockOutputBuffer&) = delete;

protected:
    // Writes every byte or raises; the bytes stay buffered when it raises.
    virtual void write_block(const char* bytes, std::size_t length) = 0;

    // Before the file's first byte is taken; may raise.
    virtual void before_first_write() {}

    // For the owner's destructor (while the file is still open): what is
    // still buffered goes out, unless a write has already failed; a failure
    // now is not reported (the extraction is already ending in error).
    void write_out_quietly() noexcept;

    std::streamsize xsputn(const char* bytes, std::streamsize length) override;
    int_type overflow(int_type c) override;
    int sync() override;

private:
    void emit(const char* bytes, std::size_t length);
    void write_out();
    void reserve(std::size_t wanted);

    std::unique_ptr<char[]> buffer_;
    std::size_t size_ = 0;
    std::size_t fill_ = 0;
    bool started_ = false;
    bool failed_ = false;
};

}  // namespace va
