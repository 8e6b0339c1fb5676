#include "engine/transaction/run_log_sink.h"

#include "support/message_pump.h"
#include "support/run_log.h"

namespace va {

RunLogSink::RunLogSink(RunLog& log, InstallSink* page) : log_(log), page_(page) {}

RunLogSink::~RunLogSink()
{
    // A line the run left unfinished is still part of its record.
    if (!lines_.Pending().empty())
        log_.Line(lines_.TakePending());
}

void RunLogSink::ShowStatus(const std::wstring& text)
{
    if (page_)
        page_->ShowStatus(text);
    // The steps repeat a status as the first part of their line: said once.
    if (text != status_)
        log_.Line(L"status: " + text);
    status_ = text;
}

void RunLogSink::AppendProgressText(const std::wstring& text, bool banner)
{
    if (page_)
        page_->AppendProgressText(text, banner);
    const std::wstring shown = banner || text.empty() ? LogBannerLine(text) : text;
    for (const std::wstring& line : lines_.Append(shown))
        log_.Line(line);
}

void RunLogSink::ShowProgressBar()
{
    if (page_)
        page_->ShowProgressBar();
}

void RunLogSink::SetProgressPosition(int percent)
{
    if (page_)
        page_->SetProgressPosition(percent);
}

void RunLogSink::PumpMessages()
{
    if (page_)
        page_->PumpMessages();
    else
        ::va::PumpMessages();
}

void RunLogSink::BeginWait()
{
    if (page_)
        page_->BeginWait();
}

void RunLogSink::EndWait()
{
    if (page_)
        page_->EndWait();
}

void RunLogSink::ShowCopiedFile(const std::wstring& text)
{
    if (page_)
        page_->ShowCopiedFile(text);
}

HWND RunLogSink::OwnerWindow() const
{
    return page_ ? page_->OwnerWindow() : nullptr;
}

}  // namespace va
