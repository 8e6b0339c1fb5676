// The file_begin and file_end answers over every install kind, entry kind,
// file state and previous-log state.

#include <gtest/gtest.h>

#include <stdexcept>

#include "engine/package/core/crc32.h"
#include "engine/package/held_files.h"
#include "engine/placement/file_placement.h"
#include "engine/placement/temporary_files.h"
#include "tests/common/scratch_folder.h"

namespace {

using va::notification;

struct FakeJournal : va::PlacementJournal {
    std::vector<std::wstring> kept;
    std::vector<std::wstring> calls;

    bool IsKeptDataFile(const std::wstring& path) const override
    {
        return std::find(kept.begin(), kept.end(), path) != kept.end();
    }
    DWORD RecordFile(const std::wstring& path, std::int32_t kind, bool copy) override
    {
        calls.push_back(L"record " + std::to_wstring(kind) + (copy ? L" copy" : L" move"));
        return ERROR_SUCCESS;
    }
    void CommitOutcome(std::uint8_t outcome) override { calls.push_back(L"commit " + std::to_wstring(outcome)); }
};

struct Harness {
    FakeJournal journal;
    std::wstring progress;
    std::wstring mainProgram, uninstaller;
    std::vector<std::pair<std::wstring, DWORD>> grants;
    va::PlacementContext context;

    explicit Harness(std::int32_t installKind)
    {
        context.installKind = installKind;
        context.journal = &journal;
        context.message = [](int n) {
            return n == va::kMessageCopyingFile ? std::wstring(L"Copying File  %1...") : std::wstring(L"OK");
        };
        context.appendProgress = [this](const std::wstring& t) { progress += t; };
        context.mainProgramPath = &mainProgram;
        context.uninstallerPath = &uninstaller;
        context.grant = [this](const std::wstring& p, DWORD mask, BYTE flags) {
            grants.emplace_back(p, mask);
            EXPECT_EQ(flags, 0);
            return true;
        };
    }
};

std::wstring Narrow(const std::vector<std::wstring>& v)
{
    std::wstring s;
    for (const auto& x : v)
        s += x + L"; ";
    return s;
}

}  // namespace

TEST(Placement, PolicyOverInstallKindEntryKindFileAndLog)
{
    va::test::ScratchFolder scratch;
    va::TemporaryFiles temporary{scratch / L"tmp", {}};

    struct Expect {
        notification::result answer;
        std::vector<std::wstring> journalAtBegin;
        bool grantAtBegin;
    };
    for (std::int32_t install : {va::Fresh, va::Reinstall, va::Update})
        for (std::uint32_t kind : {0u, 1u, 2u, 3u, 4u, 5u, 9u})
            for (bool present : {false, true})
                for (bool listed : {false, true}) {
                    SCOPED_TRACE(testing::Message() << "install " << install << " kind " << kind << " present "
                                                    << present << " listed " << listed);
                    const std::wstring path = scratch / L"dir with space\\file.bin";
                    ::CreateDirectoryW((scratch / L"dir with space").c_str(), nullptr);
                    ::DeleteFileW(path.c_str());
                    if (present) {
                        ASSERT_TRUE(va::test::WriteBytes(path, "old"));
                    }
                    Harness h(install);
                    h.context.temporaryFiles = &temporary;
                    if (listed)
                        h.journal.kept.push_back(path);
                    temporary.files.clear();
                    const va::PackageEntry entry{L"src\\file.bin", path, kind, 3, va::crc32_of("new", 3), {}};

                    Expect e{notification::proceed, {L"record " + std::to_wstring(kind) + L" move"}, false};
                    if (kind == 3) {
                        if (install != va::Fresh && listed)
                            e = {notification::skip, {}, true};
                        else if (present)
                            e = {notification::skip, {L"record 3 copy", L"commit 1"}, true};
                        else
                            e = {notification::proceed, {L"record 3 copy"}, false};
                    } else if (kind == 4 && install == va::Update) {
                        e = {notification::skip, {}, false};
                    } else if (kind == 5) {
                        e = {notification::proceed, {}, false};
                    }

                    EXPECT_EQ(va::OnFileBegin(entry, h.context), e.answer);
                    EXPECT_EQ(Narrow(h.journal.calls), Narrow(e.journalAtBegin));
                    EXPECT_EQ(h.grants.size(), e.grantAtBegin ? 1u : 0u);
                    if (e.answer == notification::skip) {
                        EXPECT_TRUE(h.progress.empty());  // kept: no line at all
                        continue;
                    }
                    EXPECT_EQ(h.progress, L"Copying File  \"" + path + L"\"...");
                    EXPECT_EQ(h.mainProgram, kind == 1 ? path : L"");
                    EXPECT_EQ(h.uninstaller, kind == 2 ? path : L"");
                    EXPECT_EQ(temporary.files, kind == 5 ? std::vector<std::wstring>{path} : std::vector<std::wstring>{});

                    h.journal.calls.clear();
                    ASSERT_TRUE(va::test::WriteBytes(path, "new"));  // what the reader writes in between
                    EXPECT_EQ(va::OnFileEnd(entry, h.context), notification::proceed);
                    EXPECT_EQ(static_cast<bool>(va::TakeHeldFile(path)), kind == 5) << "only the DirectX library is held";
                    EXPECT_EQ(Narrow(h.journal.calls), kind == 5 ? L"" : L"commit 1; ");
                    EXPECT_EQ(h.grants.size(), kind == 3 ? 1u : 0u);
                    if (kind == 3) {
                        EXPECT_EQ(h.grants[0].second, 0x13019Fu);
                    }
                    EXPECT_EQ(h.progress, L"Copying File  \"" + path + L"\"...OK\r\n");
                }
}

TEST(Placement, AFailedGrantIsIgnored)
{
    Harness h(va::Fresh);
    h.context.grant = [](const std::wstring&, DWORD, BYTE) -> bool {
        throw std::system_error(5, std::system_category());
    };
    const va::PackageEntry entry{L"a.tv-lib", L"C:\\nowhere\\a.tv-lib", 3, 1, 0, {}};
    EXPECT_NO_THROW(EXPECT_EQ(va::OnFileEnd(entry, h.context), notification::proceed));
    EXPECT_EQ(Narrow(h.journal.calls), L"commit 1; ");
    h.journal.kept.push_back(entry.destination);
    h.context.installKind = va::Update;
    EXPECT_NO_THROW(EXPECT_EQ(va::OnFileBegin(entry, h.context), notification::skip));
}

TEST(Placement, PathWithoutSpacesIsNotQuoted)
{
    Harness h(va::Fresh);
    const va::PackageEntry entry{L"a.dll", L"C:\\Apps\\Lang\\a.dll", 0, 1, 0, {}};
    va::OnFileBegin(entry, h.context);
    EXPECT_EQ(h.progress, L"Copying File  C:\\Apps\\Lang\\a.dll...");
}
