#pragma once
// The message that ends an uninstallation: removed, removed once Windows
// restarts, or not removed completely; with what was left and why, and the
// data files kept.  Portable: the texts come through the given functions.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "uninstaller/core/step_results.h"

namespace va::uninstall {

// Message n (core/messages.h) with its inserts filled.
using MessageFn = std::function<std::wstring(unsigned message, const std::vector<std::wstring>& inserts)>;
// A Windows error's text.
using ErrorTextFn = std::function<std::wstring(std::uint32_t error)>;

struct FinalReport {
    std::wstring text;
    bool complete = true;  // nothing failed
};

// Lists at most `maxLines` items per list, then how many more there are.
FinalReport ComposeFinalReport(const std::vector<StepResult>& results, const std::wstring& product,
                               const MessageFn& message, const ErrorTextFn& errorText, std::size_t maxLines = 12);

}  // namespace va::uninstall
