#pragma once
// One operation made to fail through the installer's fault seam
// (support/fault_point.h), the way the fault flavour does it: the n-th
// call of that operation fails once with its own error while the object
// lives.

#include <cstring>

#include "support/fault_point.h"

namespace va::test {

class ScopedFault {
public:
    explicit ScopedFault(const char* operation, int occurrence = 1)
    {
        operation_ = operation;
        remaining_ = occurrence;
        SetFaultHook(&Hook);
    }
    ~ScopedFault() { SetFaultHook(nullptr); }
    ScopedFault(const ScopedFault&) = delete;
    ScopedFault& operator=(const ScopedFault&) = delete;

private:
    static DWORD Hook(const char* operation, DWORD failure)
    {
        if (std::strcmp(operation, operation_) != 0 || remaining_ <= 0)
            return ERROR_SUCCESS;
        return --remaining_ == 0 ? failure : DWORD{ERROR_SUCCESS};
    }

    static inline const char* operation_ = "";
    static inline int remaining_ = 0;
};

}  // namespace va::test
