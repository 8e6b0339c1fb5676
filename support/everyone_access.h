#pragma once
// Security attributes that grant Everyone one access mask, for the named
// kernel objects shared by all sessions.

#include <windows.h>

#include <vector>

#include "support/advapi.h"

namespace va {

class EveryoneAccess {
public:
    explicit EveryoneAccess(DWORD accessMask);  // raises on failure
    EveryoneAccess(const EveryoneAccess&) = delete;
    EveryoneAccess& operator=(const EveryoneAccess&) = delete;

    SECURITY_ATTRIBUTES* attributes() noexcept { return &attributes_; }
    const ACL* acl() const noexcept { return reinterpret_cast<const ACL*>(acl_.data()); }

private:
    advapi::UniqueSid everyone_;
    std::vector<DWORD> acl_;  // DWORD elements keep the list aligned
    SECURITY_DESCRIPTOR descriptor_{};
    SECURITY_ATTRIBUTES attributes_{};
};

}  // namespace va
