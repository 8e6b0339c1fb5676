#include "support/error_text.h"

#include "support/core/hresult.h"
#include "support/handles.h"
#include "support/message_hooks.h"
#include "support/resource_string.h"

namespace va {
namespace {

constexpr DWORD kCustomerCode = 0x20000000;
constexpr DWORD kProgramStringCode = 0x08000000;
constexpr DWORD kFailCode = static_cast<DWORD>(kFail);

std::wstring FormatSystemMessage(DWORD code, DWORD language)
{
    constexpr DWORD flags =
        FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER;
    wchar_t* buffer = nullptr;
    DWORD length = ::FormatMessageW(flags, nullptr, code, language, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    if (length == 0 && ::GetLastError() == ERROR_RESOURCE_LANG_NOT_FOUND)
        length = ::FormatMessageW(flags, nullptr, code, 0, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
    UniqueLocal owner(buffer);
    if (length == 0 || !buffer)
        return {};
    std::wstring text(buffer, length);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n'))
        text.pop_back();
    return text;
}

}  // namespace

std::wstring SystemErrorText(DWORD code, DWORD language)
{
    std::wstring text = FormatSystemMessage(code, language);
    if (!text.empty())
        return text;
    if (code == kFailCode)
        return L"Error";
    return SystemErrorText(kFailCode, language);
}

std::wstring ErrorText(DWORD code)
{
    if (!(code & kCustomerCode))
        return SystemErrorText(code, 0);
    if (code & kProgramStringCode) {
        std::wstring text = LoadResourceString(ResourceModuleFromHook(), code & 0xFFFF);
        if (!text.empty())
            return text;
    }
    return SystemErrorText(kFailCode, 0);
}

}  // namespace va
