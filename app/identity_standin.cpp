// Minimal bodies for the language state and the message boxes until their
// own implementation is merged (see app/identity_seam.h).  Delete on merge.

#include <windows.h>

#include "app/identity_seam.h"
#include "app/product.h"
#include "framework/win_app.h"

namespace va {
namespace {

std::function<void(const std::wstring&)> titleHook;
std::function<HICON()> iconHook;
std::function<void(bool)> modalHook;
std::function<OwnerWindows()> ownerHook;
std::function<std::wstring()> nameSource;

std::wstring LoadText(unsigned id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(::GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

}  // namespace

LanguageState& CurrentLanguage()
{
    static LanguageState state;
    return state;
}

LanguageIndex LanguageFromUserDefault(std::uint32_t mask, const UserLanguageQuery& userDefault)
{
    const LANGID language = userDefault ? userDefault() : ::GetUserDefaultLangID();
    return LanguageFromLanguageId(language, mask ? mask : CurrentLanguage().Mask);
}

void SetLanguage(LanguageIndex index)
{
    CurrentLanguage().Index = index;
    CurrentLanguage().Lcid = LanguageLcid(index);
}

std::wstring InstallerMessage(unsigned message)
{
    return LoadText(ResolveInstallerString(kFrenchStringBase + message, CurrentLanguage().Index, LoadText));
}

std::wstring InstallerTitle(bool withProduct)
{
    std::wstring title = InstallerMessage(0);
    if (withProduct)
        title += L" \u2013 " + ProductDisplayName(true);
    return title;
}

void SetApplicationTitleHook(std::function<void(const std::wstring&)> hook)
{
    titleHook = std::move(hook);
}

int ShowMessage(const std::wstring& text, UINT type)
{
    OwnerWindows owner = ownerHook ? ownerHook() : OwnerWindows{};
    if (modalHook)
        modalHook(false);
    const std::wstring caption = nameSource ? nameSource() : std::wstring();
    const int answer = ::MessageBoxW(owner.owner, text.c_str(), caption.empty() ? nullptr : caption.c_str(), type);
    if (owner.top)
        ::EnableWindow(owner.top, TRUE);
    if (modalHook)
        modalHook(true);
    return answer;
}

int ShowErrorCode(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS |
                                              FORMAT_MESSAGE_ALLOCATE_BUFFER,
                                          nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : std::wstring(L"Error");
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    return ShowMessage(text, MB_ICONEXCLAMATION);
}

std::wstring ExceptionText(const std::exception_ptr&)
{
    return LoadText(61472);
}

std::wstring FormatInserts(const std::wstring& pattern, const std::vector<std::wstring>& inserts)
{
    std::vector<DWORD_PTR> args;
    for (const std::wstring& insert : inserts)
        args.push_back(reinterpret_cast<DWORD_PTR>(insert.c_str()));
    wchar_t* out = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        pattern.c_str(), 0, 0, reinterpret_cast<LPWSTR>(&out), 0, reinterpret_cast<va_list*>(args.data()));
    std::wstring text = length ? std::wstring(out, length) : pattern;
    if (out)
        ::LocalFree(out);
    return text;
}

void SetIconHook(std::function<HICON()> hook)
{
    iconHook = std::move(hook);
}

void SetModalHook(std::function<void(bool)> hook)
{
    modalHook = std::move(hook);
}

void SetOwnerHook(std::function<OwnerWindows()> hook)
{
    ownerHook = std::move(hook);
}

void SetApplicationNameSource(std::function<std::wstring()> source)
{
    nameSource = std::move(source);
}

std::wstring VersionDisplayText(const VersionInfo& info)
{
    const VS_FIXEDFILEINFO* fixed = info.FixedBlock();
    const std::uint32_t flags = fixed ? fixed->dwFileFlags & fixed->dwFileFlagsMask : 0;
    return ComposeDisplayText(info.StringValue(L"ProductName"), info.StringValue(L"ProductVersion"), flags,
                              CurrentLanguage().Index == kFrench);
}

}  // namespace va
