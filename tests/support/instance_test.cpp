// The instance counter and the instance mutex across real processes.

#include <gtest/gtest.h>

#include "support/instance_counter.h"
#include "support/instance_mutex.h"
#include "tests/common/process_helpers.h"
#include "tests/driver/driver.h"

using namespace test_support;
using va::test::Process;
using va::test::StartProgram;
using va::test::WaitForExit;

namespace {

const std::wstring kProbe = L"support_probe.exe";

struct Event {
    explicit Event(const std::wstring& n)
        : name(n), handle(::CreateEventW(nullptr, TRUE, FALSE, n.c_str()))
    {
    }
    std::wstring name;
    va::UniqueHandle handle;
};

Process StartProbe(const std::wstring& arguments)
{
    return StartProgram(BesideThisProgram(kProbe), arguments);
}

}  // namespace

TEST(InstanceCounter, NamesFollowTheApplicationIdentity)
{
    EXPECT_EQ(va::InstanceCounterName(L"Trelvane7"),
              L"Global\\Trelvane7.{a3526b56-ca7c-4e16-8a26-da7758a378fd}");
    EXPECT_EQ(va::InstanceMutexName(L"Trelvane7"), L"Trelvane7.{5ead623c-dfcd-474d-8e3c-e6978cac039e}");
}

TEST(InstanceCounter, EachProcessCountsEveryRegisteredProcess)
{
    for (int processes : {1, 2}) {
        const std::wstring id = UniqueName(L"CountTest");
        Event release(UniqueName(L"release"));
        std::vector<Event> ready, count, counted;
        std::vector<Process> children;
        for (int i = 0; i < processes; ++i) {
            ready.emplace_back(UniqueName(L"ready"));
            count.emplace_back(UniqueName(L"count"));
            counted.emplace_back(UniqueName(L"counted"));
        }
        for (int i = 0; i < processes; ++i) {
            children.push_back(StartProbe(L"hold " + id + L" " + ready[i].name + L" " + count[i].name +
                                          L" " + counted[i].name + L" " + release.name));
        }
        for (const Event& e : ready)
            ASSERT_EQ(::WaitForSingleObject(e.handle.get(), 30000), WAIT_OBJECT_0);
        // One count at a time: a count taken while another is under way sees
        // that one's temporary unit too.
        for (int i = 0; i < processes; ++i) {
            ::SetEvent(count[i].handle.get());
            ASSERT_EQ(::WaitForSingleObject(counted[i].handle.get(), 30000), WAIT_OBJECT_0);
        }
        ::SetEvent(release.handle.get());
        for (const Process& c : children)
            EXPECT_EQ(WaitForExit(c), static_cast<DWORD>(processes)) << processes << " process(es)";
    }
}

TEST(InstanceCounter, CountingLeavesTheCountUnchanged)
{
    va::InstanceCounter counter;
    counter.Register(UniqueName(L"Stable"));
    EXPECT_EQ(counter.Count(), 1);
    EXPECT_EQ(counter.Count(), 1);
    EXPECT_EQ(counter.registrations(), 1);
    counter.Unregister();
    EXPECT_EQ(counter.registrations(), 0);
    EXPECT_EQ(counter.Count(), 0);  // no semaphore any more
}

TEST(InstanceCounter, AKilledProcessKeepsItsUnitWhileAHandleIsOpen)
{
    const std::wstring id = UniqueName(L"KillTest");
    va::InstanceCounter mine;
    mine.Register(id);
    Event ready(UniqueName(L"ready"));
    Process child = StartProbe(L"linger " + id + L" " + ready.name);
    ASSERT_EQ(::WaitForSingleObject(ready.handle.get(), 30000), WAIT_OBJECT_0);
    EXPECT_EQ(mine.Count(), 2);
    ::TerminateProcess(child.handle.get(), 9);
    ::WaitForSingleObject(child.handle.get(), 30000);
    EXPECT_EQ(mine.Count(), 2);
}

TEST(InstanceMutex, AnOwnedMutexCannotBeTakenByAnotherProcess)
{
    const std::wstring name = va::InstanceMutexName(UniqueName(L"MutexTest"));
    {
        va::InstanceMutex mine;
        mine.Create(name, true);
        ASSERT_TRUE(mine.owned());
        EXPECT_EQ(WaitForExit(StartProbe(L"try-mutex " + name)), 0u);
    }
    // Released by destruction: now another process may take it.
    va::InstanceMutex keepsItAlive;
    keepsItAlive.Create(name, false);
    EXPECT_FALSE(keepsItAlive.owned());
    EXPECT_EQ(WaitForExit(StartProbe(L"try-mutex " + name)), 1u);
}

TEST(InstanceMutex, AcquireAndReleaseTrackOwnership)
{
    va::InstanceMutex mutex;
    mutex.Create(va::InstanceMutexName(UniqueName(L"Own")), false);
    EXPECT_FALSE(mutex.owned());
    EXPECT_TRUE(mutex.Acquire());
    EXPECT_TRUE(mutex.owned());
    mutex.Release();
    EXPECT_FALSE(mutex.owned());
}
