#pragma once
// What the package reader tells its caller, and the caller's answer.

#include <cstdint>
#include <functional>
#include <string>
#include <system_error>
#include <variant>

#include "engine/package/core/package_format.h"

namespace va {

struct notification {
    enum result : int { proceed = 0, cancel = 1, skip = 2 };

    struct start {};
    struct finished {
        std::uint64_t compressed = 0;  // bytes read from the package stream
        std::uint64_t total = 0;       // length of the decompressed stream
    };
    struct file_begin {
        const PackageEntry* entry = nullptr;
    };
    struct file_end {
        const PackageEntry* entry = nullptr;
    };
    struct progress {
        std::uint64_t processed = 0;
        std::uint64_t total = 0;
    };
    struct error {
        std::error_code code;
        std::wstring text;
    };

    using value_type = std::variant<start, finished, file_begin, file_end, progress, error>;
    value_type value;

    std::size_t index() const noexcept { return value.index(); }
};

using notification_callback = std::function<notification::result(const notification&)>;

}  // namespace va
