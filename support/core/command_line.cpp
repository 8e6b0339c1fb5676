#include "support/core/command_line.h"

#include <algorithm>

namespace va {
namespace {

bool IsBlank(wchar_t c)
{
    return c == L' ' || c == L'\t';
}

wchar_t FoldAscii(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

bool SameName(std::wstring_view a, std::wstring_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace

std::vector<std::wstring> SplitArguments(std::wstring_view text)
{
    std::vector<std::wstring> arguments;
    std::size_t i = 0;
    for (;;) {
        while (i < text.size() && IsBlank(text[i]))
            ++i;
        if (i >= text.size())
            break;
        std::wstring argument;
        bool quoted = false;
        while (i < text.size() && (quoted || !IsBlank(text[i]))) {
            if (text[i] == L'\\') {
                std::size_t slashes = 0;
                while (i < text.size() && text[i] == L'\\') {
                    ++slashes;
                    ++i;
                }
                if (i < text.size() && text[i] == L'"') {
                    argument.append(slashes / 2, L'\\');
                    if (slashes % 2 == 1) {
                        argument.push_back(L'"');
                        ++i;
                    }
                    // An even run leaves the quote to toggle quoting below.
                } else {
                    argument.append(slashes, L'\\');
                }
                continue;
            }
            if (text[i] == L'"') {
                if (quoted && i + 1 < text.size() && text[i + 1] == L'"') {
                    argument.push_back(L'"');
                    i += 2;
                    continue;
                }
                quoted = !quoted;
                ++i;
                continue;
            }
            argument.push_back(text[i++]);
        }
        arguments.push_back(std::move(argument));
    }
    return arguments;
}

std::wstring QuoteArgument(std::wstring_view argument)
{
    if (!argument.empty() && argument.find_first_of(L" \t\"") == std::wstring_view::npos)
        return std::wstring(argument);
    std::wstring quoted = L"\"";
    std::size_t slashes = 0;
    for (wchar_t c : argument) {
        if (c == L'\\') {
            ++slashes;
        } else {
            // Backslashes before a quote are doubled, and the quote escaped.
            if (c == L'"')
                quoted.append(slashes + 1, L'\\');
            slashes = 0;
        }
        quoted.push_back(c);
    }
    // Before the closing quote, the trailing backslashes are doubled too.
    quoted.append(slashes, L'\\');
    quoted.push_back(L'"');
    return quoted;
}

std::wstring_view ArgumentsAfterProgram(std::wstring_view commandLine)
{
    std::size_t i = 0;
    if (!commandLine.empty() && commandLine[0] == L'"') {
        const std::size_t close = commandLine.find(L'"', 1);
        i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
    } else {
        while (i < commandLine.size() && !IsBlank(commandLine[i]))
            ++i;
    }
    return commandLine.substr(i);
}

bool CommandLine::Has(std::wstring_view name) const
{
    return std::any_of(switches.begin(), switches.end(),
                       [name](const ParsedSwitch& s) { return SameName(s.name, name); });
}

std::optional<std::wstring> CommandLine::Value(std::wstring_view name) const
{
    for (const ParsedSwitch& s : switches)
        if (SameName(s.name, name))
            return s.value;
    return std::nullopt;
}

CommandLine ParseSwitches(const std::vector<std::wstring>& arguments, std::span<const SwitchSpec> known)
{
    CommandLine result;
    const auto refuse = [&result](CommandLineError error, const std::wstring& argument) {
        result.error = error;
        result.offending = argument;
        return result;
    };
    for (const std::wstring& argument : arguments) {
        if (argument.empty() || (argument[0] != L'/' && argument[0] != L'-'))
            return refuse(CommandLineError::NotASwitch, argument);
        const std::wstring_view body = std::wstring_view(argument).substr(1);
        const std::size_t equals = body.find(L'=');
        const std::wstring_view name = body.substr(0, equals);
        const auto spec = std::find_if(known.begin(), known.end(),
                                       [name](const SwitchSpec& s) { return SameName(s.name, name); });
        if (name.empty() || spec == known.end())
            return refuse(CommandLineError::UnknownSwitch, argument);
        if (result.Has(spec->name))
            return refuse(CommandLineError::Repeated, argument);
        ParsedSwitch parsed{spec->name, {}};
        if (spec->value == SwitchValue::Required) {
            if (equals == std::wstring_view::npos || equals + 1 == body.size())
                return refuse(CommandLineError::MissingValue, argument);
            parsed.value = std::wstring(body.substr(equals + 1));
        } else if (equals != std::wstring_view::npos) {
            return refuse(CommandLineError::UnexpectedValue, argument);
        }
        result.switches.push_back(std::move(parsed));
    }
    return result;
}

bool NamesSwitch(const std::vector<std::wstring>& arguments, const SwitchSpec& spec)
{
    const SwitchSpec only[] = {spec};
    return std::any_of(arguments.begin(), arguments.end(),
                       [&only](const std::wstring& argument) { return ParseSwitches({argument}, only).Valid(); });
}

}  // namespace va
