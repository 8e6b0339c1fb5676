#pragma once
// The language state and the message boxes as the application object uses
// them.  Until they are merged this header declares them and
// app/identity_standin.cpp gives them a minimal body; afterwards it only
// includes their own headers.

#include <windows.h>

#include <cstdint>
#include <exception>
#include <functional>
#include <string>
#include <vector>

#include "app/core/display_text.h"
#include "app/core/language_table.h"
#include "app/version_info.h"

namespace va {

struct LanguageState {
    std::uint32_t Mask = 1;
    LanguageIndex Index = kFrench;
    LCID Lcid = 1036;
    std::uint32_t CodePage = 1252;
    HMODULE ResourceModule = nullptr;
    bool RightToLeft = false;
};
LanguageState& CurrentLanguage();
using UserLanguageQuery = std::function<LANGID()>;
LanguageIndex LanguageFromUserDefault(std::uint32_t mask = 0, const UserLanguageQuery& userDefault = {});
void SetLanguage(LanguageIndex index);
std::wstring InstallerMessage(unsigned message);
std::wstring InstallerTitle(bool withProduct);
void SetApplicationTitleHook(std::function<void(const std::wstring& title)> hook);

int ShowMessage(const std::wstring& text, UINT type = MB_OK);
int ShowErrorCode(DWORD code);
std::wstring ExceptionText(const std::exception_ptr& error);
std::wstring FormatInserts(const std::wstring& pattern, const std::vector<std::wstring>& inserts);

struct OwnerWindows {
    HWND owner = nullptr;
    HWND top = nullptr;
};
void SetIconHook(std::function<HICON()> hook);
void SetModalHook(std::function<void(bool enableModeless)> hook);
void SetOwnerHook(std::function<OwnerWindows()> hook);
void SetApplicationNameSource(std::function<std::wstring()> source);

// VersionInfo::DisplayText once merged.
std::wstring VersionDisplayText(const VersionInfo& info);

}  // namespace va
