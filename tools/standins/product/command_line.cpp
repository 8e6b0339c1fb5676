#include "command_line.h"

#include <windows.h>
#include <shellapi.h>

#include <cwctype>

namespace standin {
namespace {

bool SameSwitch(const std::wstring& argument, const wchar_t* name)
{
    return ::CompareStringOrdinal(argument.c_str(), -1, name, -1, TRUE) == CSTR_EQUAL;
}

bool ParseHex64(const std::wstring& digits, std::uint64_t& value)
{
    if (digits.size() != 16)
        return false;
    value = 0;
    for (wchar_t c : digits) {
        int digit;
        if (c >= L'0' && c <= L'9')
            digit = c - L'0';
        else if (c >= L'a' && c <= L'f')
            digit = c - L'a' + 10;
        else if (c >= L'A' && c <= L'F')
            digit = c - L'A' + 10;
        else
            return false;
        value = (value << 4) | static_cast<std::uint64_t>(digit);
    }
    return true;
}

}  // namespace

Options ParseArguments(const std::vector<std::wstring>& arguments)
{
    static constexpr wchar_t kUpdate[] = L"/update=";
    constexpr size_t kUpdateLength = sizeof(kUpdate) / sizeof(kUpdate[0]) - 1;

    Options options;
    for (const std::wstring& argument : arguments) {
        if (argument.empty() || (argument[0] != L'/' && argument[0] != L'-')) {
            options.documents.push_back(argument);
        } else if (SameSwitch(argument, L"/Register")) {
            options.registerTypes = true;
        } else if (SameSwitch(argument, L"/Unregister")) {
            options.unregisterTypes = true;
        } else if (SameSwitch(argument, L"/Background")) {
            options.background = true;
        } else if (argument.size() > kUpdateLength &&
                   ::CompareStringOrdinal(argument.c_str(), kUpdateLength, kUpdate, kUpdateLength,
                                          TRUE) == CSTR_EQUAL) {
            options.hasUpdate = ParseHex64(argument.substr(kUpdateLength), options.updateFrom);
            options.valid = options.valid && options.hasUpdate;
        } else {
            options.valid = false;
        }
    }
    if (options.registerTypes && options.unregisterTypes)
        options.valid = false;
    return options;
}

std::vector<std::wstring> ProcessArguments()
{
    std::vector<std::wstring> arguments;
    int count = 0;
    wchar_t** list = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!list)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.emplace_back(list[i]);
    ::LocalFree(list);
    return arguments;
}

}  // namespace standin
