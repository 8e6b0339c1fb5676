#include "uninstaller/core/uninstall_switches.h"

namespace va::uninstall {
namespace {

constexpr SwitchSpec kSwitches[] = {
    {L"quiet"},
    {L"purge"},
    {L"log", SwitchValue::Required},
    {L"?"},
    {L"finish", SwitchValue::Required},
    {L"wait", SwitchValue::Required},
};

constexpr SwitchSpec kWaitOnly[] = {{L"wait", SwitchValue::Required}};

std::optional<std::uintptr_t> ParseHandle(const std::wstring& text)
{
    if (text.empty() || text.size() > 10)
        return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text) {
        if (c < L'0' || c > L'9')
            return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - L'0');
    }
    if (value == 0 || value > 0xFFFFFFFFu)
        return std::nullopt;
    return static_cast<std::uintptr_t>(value);
}

}  // namespace

ParsedOptions ParseUninstallerArguments(const std::vector<std::wstring>& arguments)
{
    ParsedOptions result;
    result.parsed = ParseSwitches(arguments, kSwitches);
    if (!result.parsed.Valid())
        return result;
    Options& options = result.options;
    options.quiet = result.parsed.Has(L"quiet");
    options.purge = result.parsed.Has(L"purge");
    options.help = result.parsed.Has(L"?");
    options.logFile = result.parsed.Value(L"log").value_or(L"");
    options.finishLog = result.parsed.Value(L"finish").value_or(L"");
    if (const auto wait = result.parsed.Value(L"wait")) {
        options.waitHandle = ParseHandle(*wait);
        if (!options.waitHandle || options.finishLog.empty()) {
            // The parser accepted the switch; its value is what is wrong.
            result.parsed.error = CommandLineError::UnexpectedValue;
            for (const std::wstring& argument : arguments)
                if (ParseSwitches({argument}, kWaitOnly).Valid())
                    result.parsed.offending = argument;
        }
    }
    return result;
}

}  // namespace va::uninstall
