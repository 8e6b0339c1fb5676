#include <gtest/gtest.h>

#include "uninstaller/core/final_report.h"
#include "uninstaller/core/messages.h"

namespace va::uninstall {
namespace {

// Texts that show which message was used and with what.
std::wstring Shown(unsigned n, const std::vector<std::wstring>& inserts)
{
    std::wstring text = L"<" + std::to_wstring(n);
    for (const std::wstring& i : inserts)
        text += L"|" + i;
    return text + L">";
}

std::wstring ErrorText(std::uint32_t error)
{
    return L"E" + std::to_wstring(error);
}

StepResult Made(StepKind kind, std::wstring path, Outcome outcome, Reason reason = Reason::None,
                std::uint32_t error = 0)
{
    StepResult r;
    r.step.kind = kind;
    r.step.path = std::move(path);
    r.outcome = outcome;
    r.reason = reason;
    r.error = error;
    return r;
}

TEST(FinalReport, RemovedSaysSoAndNamesWhatWasLeftOnPurpose)
{
    const FinalReport report = ComposeFinalReport(
        {
            Made(StepKind::DeleteFile, L"C:\\T\\a.dll", Outcome::Removed),
            Made(StepKind::KeepSharedComponent, L"", Outcome::Kept, Reason::SharedComponent),
            Made(StepKind::LeaveToCopy, L"C:\\T\\Uninstall.exe", Outcome::Deferred),
            Made(StepKind::LeaveOutside, L"C:\\Windows\\x.dll", Outcome::Kept, Reason::OutsideProduct),
            Made(StepKind::KeepDataFile, L"C:\\D\\mine.tv-lib", Outcome::Kept, Reason::DataFile),
        },
        L"Trelvane 7.08g", Shown, ErrorText);
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(report.text, L"<513|Trelvane 7.08g>\r\n\r\n<517|<522|C:\\Windows\\x.dll>>\r\n\r\n<516|C:\\D\\mine.tv-lib>");
}

TEST(FinalReport, ARestartFinishesWithoutListingWhatItRemoves)
{
    const FinalReport report = ComposeFinalReport(
        {Made(StepKind::DeleteFile, L"C:\\T\\held.dll", Outcome::Scheduled, Reason::InUse)}, L"P", Shown, ErrorText);
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(report.text, L"<514|P>");
}

TEST(FinalReport, NotRemovedListsEveryItemLeftWithItsReason)
{
    const FinalReport report = ComposeFinalReport(
        {
            Made(StepKind::UnregisterFileTypes, L"C:\\T\\Trelvane.exe", Outcome::Failed, Reason::Error,
                 static_cast<std::uint32_t>(-3)),
            Made(StepKind::DeleteFile, L"C:\\T\\locked.dll", Outcome::Failed, Reason::Error, 5),
            Made(StepKind::DeleteFile, L"C:\\T\\held.dll", Outcome::Scheduled, Reason::InUse),
            Made(StepKind::DeleteFile, L"C:\\T\\Trelvane.exe", Outcome::Kept, Reason::Unfinished),
            Made(StepKind::RemoveFolder, L"C:\\T\\Link", Outcome::Kept, Reason::ThroughLink),
            Made(StepKind::RemoveFolder, L"C:\\T", Outcome::Kept, Reason::NotEmpty),
            Made(StepKind::RemoveProductKeys, L"", Outcome::Kept, Reason::Unfinished),
        },
        L"P", Shown, ErrorText);
    EXPECT_FALSE(report.complete);
    EXPECT_EQ(report.text, L"<515|P|<528|C:\\T\\Trelvane.exe|-3>\r\n<525|C:\\T\\locked.dll|5|E5>\r\n"
                           L"<524|C:\\T\\held.dll>\r\n<526|C:\\T\\Trelvane.exe>\r\n<523|C:\\T\\Link>\r\n"
                           L"<521|C:\\T>\r\n<526|<529|P>>>");
}

TEST(FinalReport, WhatALinkStoppedIsNamedByTheLink)
{
    StepResult throughLink = Made(StepKind::DeleteFile, L"C:\\D\\Data\\a.dat", Outcome::Failed, Reason::ThroughLink,
                                  4395);
    throughLink.link = L"C:\\D\\Data";
    const FinalReport report = ComposeFinalReport(
        {throughLink, Made(StepKind::DeleteFile, L"C:\\D\\b.dat", Outcome::Failed, Reason::ThroughLink, 4395)},
        L"P", Shown, ErrorText);
    EXPECT_FALSE(report.complete);
    EXPECT_EQ(report.text, L"<515|P|<523|C:\\D\\Data>\r\n<523|C:\\D\\b.dat>>");
}

TEST(FinalReport, ALongListEndsWithHowManyMore)
{
    std::vector<StepResult> results;
    for (int n = 0; n < 5; ++n)
        results.push_back(Made(StepKind::DeleteFile, L"f" + std::to_wstring(n), Outcome::Failed, Reason::Error, 5));
    const FinalReport report = ComposeFinalReport(results, L"P", Shown, ErrorText, 3);
    EXPECT_EQ(report.text, L"<515|P|<525|f0|5|E5>\r\n<525|f1|5|E5>\r\n<525|f2|5|E5>\r\n<536|2>>");
}

TEST(FinalReport, FileTypesWithoutTheirProgramAreNamed)
{
    const FinalReport report = ComposeFinalReport(
        {Made(StepKind::UnregisterFileTypes, L"C:\\T\\Trelvane.exe", Outcome::Kept, Reason::ProgramMissing)}, L"P",
        Shown, ErrorText);
    EXPECT_TRUE(report.complete);
    EXPECT_EQ(report.text, L"<513|P>\r\n\r\n<517|<527|C:\\T\\Trelvane.exe>>");
}

}  // namespace
}  // namespace va::uninstall
