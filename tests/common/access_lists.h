#pragma once
// Access lists in the system's text form, and whether this file system
// keeps a list given when a folder is made (Wine's may not).

#include <windows.h>
#include <sddl.h>

#include <string>

#include "support/handles.h"

namespace va::test {

// The access list of `path` in the system's text form; empty when unreadable.
inline std::wstring AccessText(const std::wstring& path)
{
    DWORD needed = 0;
    ::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, nullptr, 0, &needed);
    if (needed == 0)
        return {};
    std::string buffer(needed, '\0');
    if (!::GetFileSecurityW(path.c_str(), DACL_SECURITY_INFORMATION, buffer.data(), needed, &needed))
        return {};
    wchar_t* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(buffer.data(), SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    const UniqueLocal owned(text);
    return text;
}

// The same list in the system's own text form (rights may be written as
// letters rather than as a number).
inline std::wstring CanonicalAccess(const wchar_t* sddl)
{
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(sddl, SDDL_REVISION_1, &descriptor, nullptr))
        return {};
    const UniqueLocal owned(descriptor);
    wchar_t* text = nullptr;
    if (!::ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1,
                                                              DACL_SECURITY_INFORMATION, &text, nullptr))
        return {};
    const UniqueLocal ownedText(text);
    return text;
}

// Whether this file system keeps an access list given at creation; what it
// read back in `readBack`.
inline bool KeepsAccessLists(const std::wstring& path, std::wstring& readBack)
{
    const wchar_t* control = L"D:P(A;OICI;FA;;;WD)";
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(control, SDDL_REVISION_1, &descriptor, nullptr))
        return false;
    const UniqueLocal owned(descriptor);
    SECURITY_ATTRIBUTES attributes{sizeof(attributes), descriptor, FALSE};
    const bool made = ::CreateDirectoryW(path.c_str(), &attributes) != FALSE;
    readBack = made ? AccessText(path) : L"<not made>";
    const bool kept = readBack == CanonicalAccess(control);
    ::RemoveDirectoryW(path.c_str());
    return kept;
}

}  // namespace va::test
