#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <ostream>
#include <sstream>
#include <system_error>
#include <vector>

#include "engine/package/core/block_output_buffer.h"
#include "engine/package/core/package_extractor.h"
#include "engine/package/core/package_reading.h"
#include "tests/common/package_fixture.h"

namespace {

using package_test::Archive;
using package_test::Compress;
using package_test::FileSpec;
using package_test::MemoryHost;
using package_test::Recorder;

constexpr std::size_t kBlock = va::BlockOutputBuffer::kBlockBytes;

// Every block written is counted and appended to `target`; the block
// numbered `failAt` (1-based; 0: none) raises ERROR_DISK_FULL instead.
class CountingBuffer : public va::BlockOutputBuffer {
public:
    CountingBuffer(std::string& target, std::vector<std::size_t>& blocks, int failAt)
        : target_(target), blocks_(blocks), failAt_(failAt)
    {
    }
    ~CountingBuffer() override { write_out_quietly(); }

    int firstWrites = 0;

protected:
    void before_first_write() override { ++firstWrites; }

    void write_block(const char* bytes, std::size_t length) override
    {
        if (static_cast<int>(blocks_.size()) + 1 == failAt_)
            throw std::system_error(112, std::system_category(), "write");
        blocks_.push_back(length);
        target_.append(bytes, length);
    }

private:
    std::string& target_;
    std::vector<std::size_t>& blocks_;
    int failAt_;
};

class CountingStream : public std::ostream {
public:
    CountingStream(std::string& target, std::vector<std::size_t>& blocks, int failAt)
        : std::ostream(nullptr), buffer_(target, blocks, failAt)
    {
        rdbuf(&buffer_);
    }
    CountingBuffer buffer_;
};

// The reader's files behind the block buffer, as the Windows host has them.
class BlockHost : public MemoryHost {
public:
    std::map<std::wstring, std::vector<std::size_t>> blocks;
    std::map<std::wstring, int> failAt;

    std::unique_ptr<std::ostream> open_output_file(const std::wstring& destination, const std::wstring&,
                                                   va::SharedFolderList&) override
    {
        opened.push_back(destination);
        files[destination].clear();
        auto fail = failAt.find(destination);
        return std::make_unique<CountingStream>(files[destination], blocks[destination],
                                                fail == failAt.end() ? 0 : fail->second);
    }
};

std::string Bytes(std::size_t n)
{
    std::string s(n, '\0');
    for (std::size_t i = 0; i < n; ++i)
        s[i] = static_cast<char>((i * 7919u) >> 5);
    return s;
}

const va::FolderInputs kFolders{L"C:\\Inst", L"Trelvane Examples", L"C:\\Temp\\t"};

std::vector<FileSpec> Files()
{
    return {
        {L"big.bin", L"<InstallPath>", 0, Bytes(kBlock * 2 + 75712)},
        {L"small.txt", L"<InstallPath>\\Docs", 0, Bytes(10000)},
        {L"empty.txt", L"<InstallPath>", 0, ""},
        {L"last.dat", L"<InstallPath>", 0, Bytes(kBlock)},
    };
}

struct Outcome {
    Recorder recorder;
    bool ok = false;
};

template <typename Host>
Outcome Extract(Host& host, const std::string& compressed)
{
    Outcome run;
    std::istringstream stream(compressed);
    run.ok = va::extract_package(stream, kFolders, run.recorder.callback(), host);
    return run;
}

}  // namespace

TEST(BlockOutputBuffer, GathersStepsIntoBlocksAndWritesTheRestOnFlush)
{
    struct Case {
        const char* name;
        std::vector<std::size_t> writes;
        std::vector<std::size_t> beforeFlush;
        std::vector<std::size_t> afterFlush;
    };
    const std::vector<std::size_t> steps64(64, 4096);
    std::vector<std::size_t> steps147(146, 4096);
    steps147.push_back(2000);
    const std::vector<Case> cases = {
        {"nothing", {}, {}, {}},
        {"one small file", {4096, 4096, 1808}, {}, {10000}},
        {"exactly one block", steps64, {kBlock}, {kBlock}},
        {"blocks and a rest", steps147, {kBlock, kBlock}, {kBlock, kBlock, 146 * 4096 + 2000 - 2 * kBlock}},
        {"one large write", {kBlock * 4 + 1}, {kBlock, kBlock, kBlock, kBlock}, {kBlock, kBlock, kBlock, kBlock, 1}},
        {"single bytes", {1, 1, 1}, {}, {3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string target;
        std::vector<std::size_t> blocks;
        CountingStream out(target, blocks, 0);
        out.exceptions(std::ios_base::failbit | std::ios_base::badbit);
        std::string expected;
        for (std::size_t n : c.writes) {
            const std::string part = Bytes(expected.size() + n).substr(expected.size());
            if (n == 1)
                out.put(part[0]);
            else
                out.write(part.data(), static_cast<std::streamsize>(n));
            expected += part;
        }
        EXPECT_EQ(blocks, c.beforeFlush);
        out.flush();
        EXPECT_EQ(blocks, c.afterFlush);
        EXPECT_EQ(target, expected);
        EXPECT_EQ(out.buffer_.firstWrites, c.writes.empty() ? 0 : 1);
    }
}

TEST(BlockOutputBuffer, AFailedWriteRaisesItsErrorAndIsNotTriedAgain)
{
    std::string target;
    std::vector<std::size_t> blocks;
    {
        CountingStream out(target, blocks, 2);
        out.exceptions(std::ios_base::failbit | std::ios_base::badbit);
        const std::string bytes = Bytes(kBlock + 100);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        try {
            out.flush();
            ADD_FAILURE() << "the failed write went unnoticed";
        } catch (const std::system_error& e) {
            EXPECT_EQ(e.code(), std::error_code(112, std::system_category()));
        }
    }  // no second attempt while closing
    EXPECT_EQ(blocks, std::vector<std::size_t>{kBlock});

    // Without a flush, what is buffered still reaches the file when it closes.
    std::string unflushed;
    std::vector<std::size_t> quiet;
    {
        CountingStream out(unflushed, quiet, 0);
        out.write("abc", 3);
    }
    EXPECT_EQ(unflushed, "abc");
}

TEST(BlockOutputBuffer, TheExtractionWritesBlocksWithTheSameNotifications)
{
    const std::vector<FileSpec> files = Files();
    const std::string compressed = Compress(Archive(files));
    MemoryHost plain;
    const Outcome reference = Extract(plain, compressed);
    ASSERT_TRUE(reference.ok);

    for (unsigned processors : {1u, 2u}) {
        SCOPED_TRACE(processors);
        BlockHost host;
        host.processors = processors;
        const Outcome run = Extract(host, compressed);
        ASSERT_TRUE(run.ok);
        EXPECT_EQ(run.recorder.events, reference.recorder.events);
        for (const FileSpec& f : files)
            EXPECT_EQ(host.files.at(L"C:\\Inst\\" + (f.source == L"small.txt" ? L"Docs\\" + f.source : f.source)),
                      f.data);
        using Blocks = std::vector<std::size_t>;
        EXPECT_EQ(host.blocks.at(L"C:\\Inst\\big.bin"), (Blocks{kBlock, kBlock, 75712}));
        EXPECT_EQ(host.blocks.at(L"C:\\Inst\\Docs\\small.txt"), Blocks{10000});
        EXPECT_EQ(host.blocks.at(L"C:\\Inst\\empty.txt"), Blocks{});
        EXPECT_EQ(host.blocks.at(L"C:\\Inst\\last.dat"), Blocks{kBlock});
    }
}

TEST(BlockOutputBuffer, AWriteFailingInABufferedBlockNamesItsOwnFile)
{
    const std::vector<FileSpec> files = Files();
    const std::string compressed = Compress(Archive(files));
    struct Case {
        std::wstring path;
        int failAt;
    };
    // The small file's only block goes out after its last byte has been
    // delivered; the large file's last block likewise.
    for (const Case& c : {Case{L"C:\\Inst\\Docs\\small.txt", 1}, Case{L"C:\\Inst\\big.bin", 3},
                          Case{L"C:\\Inst\\big.bin", 1}}) {
        SCOPED_TRACE(testing::Message() << std::string(c.path.begin(), c.path.end()) << " block " << c.failAt);
        BlockHost host;
        host.failAt[c.path] = c.failAt;
        const Outcome run = Extract(host, compressed);
        EXPECT_FALSE(run.ok);
        const va::notification::error* error = run.recorder.error();
        ASSERT_NE(error, nullptr);
        EXPECT_EQ(error->code, std::error_code(112, std::system_category()));
        EXPECT_EQ(error->text, c.path);
        EXPECT_EQ(std::count(run.recorder.events.begin(), run.recorder.events.end(), L"end " + c.path), 0);
        EXPECT_EQ(run.recorder.events.back(), L"error");
    }
}
