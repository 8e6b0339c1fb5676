#pragma once
// Takes rights away from everybody on a registry key for the life of the
// object, then puts the key's former access list back.  The owner keeps the
// right to change the list, so the restore always works.

#include <windows.h>
#include <sddl.h>

#include <string>
#include <vector>

#include "support/handles.h"

namespace va::test {

class ScopedKeyDenial {
public:
    // `denied`: access bits refused to Everyone, e.g. KEY_SET_VALUE.
    ScopedKeyDenial(HKEY root, const std::wstring& subkey, DWORD denied)
    {
        if (::RegOpenKeyExW(root, subkey.c_str(), 0, READ_CONTROL | WRITE_DAC, key_.put()) != ERROR_SUCCESS)
            return;
        DWORD size = 0;
        ::RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, nullptr, &size);
        saved_.resize(size);
        if (size == 0 || ::RegGetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data(),
                                             &size) != ERROR_SUCCESS) {
            saved_.clear();
            return;
        }
        const std::wstring sddl = L"D:(D;;" + Hex(denied) + L";;;WD)(A;;KA;;;WD)";
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl.c_str(), SDDL_REVISION_1,
                                                                    &descriptor, nullptr))
            return;
        UniqueLocal owner(descriptor);
        applied_ = ::RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    }
    ~ScopedKeyDenial()
    {
        if (applied_ && !saved_.empty())
            ::RegSetKeySecurity(key_.get(), DACL_SECURITY_INFORMATION, saved_.data());
    }
    ScopedKeyDenial(const ScopedKeyDenial&) = delete;
    ScopedKeyDenial& operator=(const ScopedKeyDenial&) = delete;

    bool applied() const { return applied_; }

private:
    static std::wstring Hex(DWORD value)
    {
        wchar_t text[16];
        ::wsprintfW(text, L"0x%x", value);
        return text;
    }

    UniqueKey key_;
    std::vector<BYTE> saved_;
    bool applied_ = false;
};

}  // namespace va::test
