#pragma once
// The command line of the product's set-up programs: switches written "/name"
// or "-name", case-insensitive, a value joined by "=" ("/log=FILE").  Each
// program passes its own table of switches; anything else refuses the run.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace va {

// The arguments after the program's own name, split as the C runtime and
// CommandLineToArgvW split them: blanks separate outside double quotes;
// 2n backslashes before a quote give n backslashes and the quote toggles
// quoting, 2n+1 give n backslashes and a literal quote; inside quotes a
// doubled quote is a literal one.
std::vector<std::wstring> SplitArguments(std::wstring_view text);

// `argument` written so that SplitArguments gives it back unchanged: as it
// is when it needs no quotes, else in quotes with its quotes and the
// backslashes before them escaped.
std::wstring QuoteArgument(std::wstring_view argument);

// A whole command line (as GetCommandLineW gives it) without the program's
// name, which ends at its closing quote or at the first blank.
std::wstring_view ArgumentsAfterProgram(std::wstring_view commandLine);

enum class SwitchValue {
    None,      // "/quiet"
    Required,  // "/log=FILE"
};

struct SwitchSpec {
    std::wstring_view name;  // without "/", lower case
    SwitchValue value = SwitchValue::None;
};

enum class CommandLineError {
    None,
    NotASwitch,       // an argument that begins with neither "/" nor "-"
    UnknownSwitch,
    MissingValue,     // "/log" or "/log="
    UnexpectedValue,  // "/quiet=1"
    Repeated,         // the same switch twice
    InvalidValue,     // a value the program cannot use ("/lang=xx")
    Conflicting,      // two switches that exclude each other
};

struct ParsedSwitch {
    std::wstring_view name;  // the table's spelling
    std::wstring value;      // empty for switches without value
};

struct CommandLine {
    std::vector<ParsedSwitch> switches;  // in command-line order
    CommandLineError error = CommandLineError::None;
    std::wstring offending;              // the argument refused, as given

    bool Valid() const { return error == CommandLineError::None; }
    bool Has(std::wstring_view name) const;
    // Nothing when the switch was not given.
    std::optional<std::wstring> Value(std::wstring_view name) const;
};

// Parses `arguments` against `known`; the first refused argument ends the
// parse with its error.
CommandLine ParseSwitches(const std::vector<std::wstring>& arguments, std::span<const SwitchSpec> known);

// Whether one of `arguments` is the switch `spec`, well formed, even on a
// line refused for another argument: a refusal must be as silent as the run
// it refuses.
bool NamesSwitch(const std::vector<std::wstring>& arguments, const SwitchSpec& spec);

}  // namespace va
