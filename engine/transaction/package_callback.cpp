#include "engine/transaction/package_callback.h"

#include <type_traits>
#include <variant>

#include "engine/journal/uninstall_log.h"
#include "engine/package/core/compress_error.h"
#include "engine/package/core/package_reading.h"
#include "engine/transaction/core/error_code_text.h"
#include "engine/transaction/core/progress_percent.h"
#include "engine/transaction/install_sink.h"
#include "languages/core/message_numbers.h"
#include "support/format_message.h"

namespace va {

PackageCallback::PackageCallback(InstallSink& sink, const MessageTexts& texts, std::istream& stream,
                                 UninstallLog& log, PlacementContext& placement)
    : sink_(sink), texts_(texts), stream_(stream), log_(log), placement_(placement)
{
}

notification::result PackageCallback::operator()(const notification& message)
{
    const notification::result answer = Dispatch(message);
    sink_.PumpMessages();
    return answer;
}

notification::result PackageCallback::Dispatch(const notification& message)
{
    return std::visit(
        [this](const auto& value) -> notification::result {
            using T = std::decay_t<decltype(value)>;
            if constexpr (std::is_same_v<T, notification::start>)
                return OnStart();
            else if constexpr (std::is_same_v<T, notification::file_begin>)
                return OnFileBegin(*value.entry, placement_);
            else if constexpr (std::is_same_v<T, notification::file_end>)
                return OnFileEnd(*value.entry, placement_);
            else if constexpr (std::is_same_v<T, notification::progress>)
                return OnProgress(value);
            else if constexpr (std::is_same_v<T, notification::error>)
                return OnError(value);
            else
                return notification::proceed;  // finished
        },
        message.value);
}

notification::result PackageCallback::OnStart()
{
    const std::wstring preparing = texts_.Message(kMessagePreparing);
    sink_.ShowStatus(preparing);
    sink_.AppendProgressText(preparing);
    // The whole package is decompressed once before anything is written, so
    // that damaged data stops the run while the machine is untouched.  A
    // bzip2 error escapes from here as its own code.
    if (!verify_package(stream_))
        throw_compress_error(compress_errc::verify_failed);
    stream_.clear();
    stream_.seekg(0);
    AppendStepResult(sink_, texts_, true);
    return notification::proceed;
}

notification::result PackageCallback::OnProgress(const notification::progress& progress)
{
    sink_.SetProgressPosition(ProgressPercent(progress.processed, progress.total));
    return notification::proceed;
}

notification::result PackageCallback::OnError(const notification::error& error)
{
    log_.CommitOutcome(0);
    AppendStepResult(sink_, texts_, false);
    // The error's text (a path) is not shown: the code says what failed.
    sink_.ShowStatus(FormatInserts(texts_.Message(kMessageInstallFailed), {ErrorCodeText(error.code)}));
    return notification::cancel;
}

}  // namespace va
