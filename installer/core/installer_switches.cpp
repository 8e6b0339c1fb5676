#include "installer/core/installer_switches.h"

#include <algorithm>

#include "support/core/install_folder_rule.h"
#include "support/core/path_text.h"

namespace va {
namespace {

constexpr SwitchSpec kSwitches[] = {
    {L"quiet"},
    {L"passive"},
    {L"dir", SwitchValue::Required},
    {L"group", SwitchValue::Required},
    {L"nostartmenu"},
    {L"nodesktop"},
    {L"lang", SwitchValue::Required},
    {L"log", SwitchValue::Required},
    // Deployment tools append it by habit; the installer never restarts the
    // machine, so it is taken and changes nothing.
    {L"norestart"},
    {L"?"},
};

// ISO 639-1 codes in the order of LanguageIndex.
constexpr std::wstring_view kLanguageCodes[kLanguageCount] = {
    L"fr", L"en", L"de", L"es", L"pt", L"nl", L"da", L"tr", L"bg", L"ro",
    L"zh", L"it", L"cs", L"no", L"el", L"pl", L"he", L"vi", L"ja", L"hu",
};

wchar_t Lower(wchar_t c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
}

std::wstring WithoutTrailingSeparators(std::wstring_view path, std::size_t keep)
{
    while (path.size() > keep && IsPathSeparator(path.back()))
        path.remove_suffix(1);
    return std::wstring(path);
}

ParsedInstallerOptions Refuse(ParsedInstallerOptions result, CommandLineError error, const std::wstring& argument,
                              std::wstring_view reason)
{
    result.parsed.error = error;
    result.parsed.offending = argument;
    result.reason = reason;
    return result;
}

// The argument that gave switch `name`, as written.
std::wstring ArgumentOf(const std::vector<std::wstring>& arguments, std::wstring_view name)
{
    const SwitchSpec* spec = std::find_if(std::begin(kSwitches), std::end(kSwitches),
                                          [name](const SwitchSpec& s) { return s.name == name; });
    for (const std::wstring& argument : arguments)
        if (NamesSwitch({argument}, *spec))
            return argument;
    return {};
}

std::wstring_view FolderReason(FolderProblem problem)
{
    switch (problem) {
    case FolderProblem::Relative:
        return L"not a full path";
    case FolderProblem::TooLong:
        return L"longer than 260 characters";
    case FolderProblem::BadCharacters:
        return L"not a usable folder name";
    case FolderProblem::Root:
        return L"a drive's or share's root";
    default:
        return L"";
    }
}

}  // namespace

std::span<const SwitchSpec> InstallerSwitchTable()
{
    return kSwitches;
}

FolderProblem CheckStartMenuGroup(std::wstring_view group)
{
    if (group.empty() || IsPathSeparator(group[0]) || (group.size() >= 2 && group[1] == L':'))
        return FolderProblem::Relative;
    if (group.size() > kMaxFolderChars)
        return FolderProblem::TooLong;
    if (HasForbiddenCharacters(group) || HasUnusableComponent(WithoutTrailingSeparators(group, 0)))
        return FolderProblem::BadCharacters;
    return FolderProblem::None;
}

LanguageIndex LanguageOfSwitchValue(std::wstring_view value)
{
    if (!value.empty() && value.size() <= 2 && std::all_of(value.begin(), value.end(), [](wchar_t c) {
            return c >= L'0' && c <= L'9';
        })) {
        int index = 0;
        for (wchar_t c : value)
            index = index * 10 + (c - L'0');
        return index < kLanguageCount ? index : -1;
    }
    if (value.size() != 2)
        return -1;
    const std::wstring code{Lower(value[0]), Lower(value[1])};
    for (LanguageIndex i = 0; i < kLanguageCount; ++i)
        if (kLanguageCodes[i] == code)
            return i;
    return -1;
}

ParsedInstallerOptions ParseInstallerArguments(const std::vector<std::wstring>& arguments)
{
    ParsedInstallerOptions result;
    result.parsed = ParseSwitches(arguments, kSwitches);
    if (!result.parsed.Valid()) {
        result.reason = L"not a switch of the installer, or not written as one";
        return result;
    }
    const CommandLine& line = result.parsed;
    InstallerOptions& options = result.options;
    options.help = line.Has(L"?");
    options.noStartMenu = line.Has(L"nostartmenu");
    options.noDesktop = line.Has(L"nodesktop");
    options.noRestart = line.Has(L"norestart");
    options.logFile = line.Value(L"log").value_or(L"");

    if (line.Has(L"quiet") && line.Has(L"passive"))
        return Refuse(result, CommandLineError::Conflicting, ArgumentOf(arguments, L"passive"),
                      L"/quiet and /passive exclude each other");
    options.mode = line.Has(L"quiet") ? RunMode::Quiet : line.Has(L"passive") ? RunMode::Passive : RunMode::Wizard;

    if (const auto dir = line.Value(L"dir")) {
        if (const FolderProblem problem = CheckInstallFolder(*dir); problem != FolderProblem::None)
            return Refuse(result, CommandLineError::InvalidValue, ArgumentOf(arguments, L"dir"),
                          FolderReason(problem));
        options.installFolder = WithoutTrailingSeparators(*dir, 3);
    }
    if (const auto group = line.Value(L"group")) {
        if (options.noStartMenu)
            return Refuse(result, CommandLineError::Conflicting, ArgumentOf(arguments, L"group"),
                          L"/group and /nostartmenu exclude each other");
        if (const FolderProblem problem = CheckStartMenuGroup(*group); problem != FolderProblem::None)
            return Refuse(result, CommandLineError::InvalidValue, ArgumentOf(arguments, L"group"),
                          problem == FolderProblem::Relative ? L"not relative to the Start menu"
                                                             : FolderReason(problem));
        options.startMenuGroup = WithoutTrailingSeparators(*group, 0);
    }
    if (const auto lang = line.Value(L"lang")) {
        const LanguageIndex index = LanguageOfSwitchValue(*lang);
        if (index < 0)
            return Refuse(result, CommandLineError::InvalidValue, ArgumentOf(arguments, L"lang"),
                          L"no such language");
        if (!IsProductLanguage(index))
            return Refuse(result, CommandLineError::InvalidValue, ArgumentOf(arguments, L"lang"),
                          L"not a language of the product");
        options.language = index;
    }
    return result;
}

}  // namespace va
