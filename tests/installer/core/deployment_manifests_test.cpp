// The package managers' descriptions against the installer's own tables:
// every command line they give is one the installer's parser takes as
// meant, every exit code is described, and the Apps & Features entry is the
// uninstall key the installation writes.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "identity/core/product.h"
#include "installer/core/deployment_manifests.h"
#include "installer/core/installer_switches.h"
#include "support/core/command_line.h"
#include "support/core/exit_codes.h"

namespace {

constexpr const char* kDigest = "0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef";
constexpr const char* kUrl = "https://www.vantaro.example/download/InstallTrelvane7.08g.exe";

std::vector<va::DeploymentFile> Files()
{
    return va::DeploymentManifests({kDigest, kUrl});
}

const std::string& FileText(const std::string& suffix)
{
    static const std::vector<va::DeploymentFile> files = Files();
    for (const va::DeploymentFile& f : files)
        if (f.name.size() >= suffix.size() && f.name.compare(f.name.size() - suffix.size(), suffix.size(), suffix) == 0)
            return f.text;
    throw std::runtime_error("no file ending " + suffix);
}

// The value of "key: value" on the first line (after `from`) that has it,
// without YAML's single quotes.
std::string Field(const std::string& text, const std::string& key, std::size_t from = 0)
{
    const std::size_t at = text.find("\n" + key + ": ", from);
    if (at == std::string::npos)
        return "<missing " + key + ">";
    const std::size_t start = at + key.size() + 3;
    std::string value = text.substr(start, text.find('\n', start) - start);
    if (value.size() >= 2 && value.front() == '\'' && value.back() == '\'') {
        value = value.substr(1, value.size() - 2);
        for (std::size_t q = value.find("''"); q != std::string::npos; q = value.find("''", q + 1))
            value.erase(q, 1);
    }
    return value;
}

// The value of "  name = value" in the PowerShell fragment.
std::string PsField(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find("\n  " + name + " ");
    if (at == std::string::npos)
        return "<missing " + name + ">";
    const std::size_t start = text.find("= ", at) + 2;
    return text.substr(start, text.find('\n', start) - start);
}

std::wstring Wide(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// A switch text as a deployment tool runs it, its placeholder filled in.
va::ParsedInstallerOptions ParsedLine(std::string line, const std::string& placeholder, const std::string& value)
{
    if (!placeholder.empty()) {
        const std::size_t at = line.find(placeholder);
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos)
            line.replace(at, placeholder.size(), value);
    }
    return va::ParseInstallerArguments(va::SplitArguments(Wide(line)));
}

TEST(DeploymentManifests, WingetSwitchesAreLinesTheInstallerTakesAsMeant)
{
    const std::string& installer = FileText(".installer.yaml");
    const std::string folder = "C:\\Program Files (x86)\\Vantaro\\Trelvane 7";
    const std::string log = "C:\\Users\\a b\\AppData\\Local\\Temp\\winget\\install.log";

    const auto silent = ParsedLine(Field(installer, "  Silent"), "", "");
    ASSERT_TRUE(silent.parsed.Valid());
    EXPECT_EQ(silent.options.mode, va::RunMode::Quiet);

    const auto progress = ParsedLine(Field(installer, "  SilentWithProgress"), "", "");
    ASSERT_TRUE(progress.parsed.Valid());
    EXPECT_EQ(progress.options.mode, va::RunMode::Passive);

    const auto location = ParsedLine(Field(installer, "  InstallLocation"), "<INSTALLPATH>", folder);
    ASSERT_TRUE(location.parsed.Valid()) << Narrow(location.parsed.offending);
    EXPECT_EQ(location.options.installFolder, Wide(folder));

    const auto logged = ParsedLine(Field(installer, "  Log"), "<LOGPATH>", log);
    ASSERT_TRUE(logged.parsed.Valid()) << Narrow(logged.parsed.offending);
    EXPECT_EQ(logged.options.logFile, Wide(log));

    // winget joins them on one line with what it appends.
    std::string line = Field(installer, "  Silent") + " " + Field(installer, "  InstallLocation") + " " +
                       Field(installer, "  Log") + " /norestart";
    line.replace(line.find("<LOGPATH>"), 9, log);
    const auto all = ParsedLine(line, "<INSTALLPATH>", folder);
    ASSERT_TRUE(all.parsed.Valid()) << Narrow(all.parsed.offending);
    EXPECT_EQ(all.options.mode, va::RunMode::Quiet);
    EXPECT_TRUE(all.options.noRestart);
}

TEST(DeploymentManifests, ChocolateySilentArgumentsAreALineTheInstallerTakes)
{
    const std::string& choco = FileText("chocolateyInstall.ps1");
    std::string args = PsField(choco, "silentArgs");
    ASSERT_GE(args.size(), 2u);
    ASSERT_EQ(args.front(), '"');
    // As PowerShell hands it over: outer quotes gone, back-tick escapes and
    // the temporary folder expanded.
    args = args.substr(1, args.size() - 2);
    for (std::size_t at = args.find("`\""); at != std::string::npos; at = args.find("`\"", at))
        args.erase(at, 1);
    const auto parsed = ParsedLine(args, "$($env:TEMP)", "C:\\Users\\a b\\AppData\\Local\\Temp");
    ASSERT_TRUE(parsed.parsed.Valid()) << Narrow(parsed.parsed.offending);
    EXPECT_EQ(parsed.options.mode, va::RunMode::Quiet);
    EXPECT_TRUE(parsed.options.noRestart);
    EXPECT_EQ(parsed.options.logFile, L"C:\\Users\\a b\\AppData\\Local\\Temp\\trelvane-install.log");

    std::string valid;
    for (const va::DeploymentExitCode& c : va::InstallerExitCodes())
        if (c.wingetResponse.empty())
            valid += (valid.empty() ? "" : ", ") + std::to_string(c.code);
    EXPECT_EQ(PsField(choco, "validExitCodes"), "@(" + valid + ")");
    EXPECT_EQ(valid, "0") << "the installer ends successfully with 0 only: it never asks for a restart";
    EXPECT_EQ(PsField(choco, "checksum"), "'0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF'");
    EXPECT_EQ(PsField(choco, "url"), "'" + std::string(kUrl) + "'");
}

TEST(DeploymentManifests, EveryExitCodeIsTheInstallersOrTheUninstallersAlone)
{
    // The uninstaller's own outcomes: no log, a damaged log, a restart to
    // finish a removal.  A new code in exit_codes.h must be placed here or
    // in the installer's table.
    const std::set<int> uninstallerOnly = {va::exit_code::kNotInstalled, va::exit_code::kDamagedLog,
                                           va::exit_code::kRestartNeeded};
    std::set<int> described;
    for (const va::DeploymentExitCode& c : va::InstallerExitCodes())
        EXPECT_TRUE(described.insert(c.code).second) << "twice: " << c.code;
    for (int code : va::exit_code::kAll)
        EXPECT_NE(described.count(code) + uninstallerOnly.count(code), 0u) << "not described: " << code;
    for (int code : described)
        EXPECT_NE(std::count(std::begin(va::exit_code::kAll), std::end(va::exit_code::kAll), code), 0) << code;
}

TEST(DeploymentManifests, ExpectedReturnCodesNameEveryFailureInWingetsTerms)
{
    const std::set<std::string> responses = {
        "packageInUse",       "packageInUseByApplication", "installInProgress",       "fileInUse",
        "missingDependency",  "diskFull",                  "insufficientMemory",      "invalidParameter",
        "noNetwork",          "contactSupport",            "rebootRequiredToFinish",  "rebootRequiredForInstall",
        "rebootInitiated",    "cancelledByUser",           "alreadyInstalled",        "downgrade",
        "blockedByPolicy",    "systemNotSupported",        "custom"};
    const std::string& installer = FileText(".installer.yaml");
    const std::size_t list = installer.find("\nExpectedReturnCodes:\n");
    ASSERT_NE(list, std::string::npos);
    std::size_t failures = 0;
    for (const va::DeploymentExitCode& c : va::InstallerExitCodes()) {
        const std::string entry = "\n- InstallerReturnCode: " + std::to_string(c.code) + "\n  ReturnResponse: ";
        if (c.wingetResponse.empty()) {
            EXPECT_EQ(installer.find(entry), std::string::npos) << c.code;
            continue;
        }
        ++failures;
        EXPECT_EQ(responses.count(std::string(c.wingetResponse)), 1u) << c.wingetResponse;
        EXPECT_NE(installer.find(entry + std::string(c.wingetResponse) + "\n", list), std::string::npos) << c.code;
    }
    std::size_t listed = 0;
    for (std::size_t at = installer.find("InstallerReturnCode:"); at != std::string::npos;
         at = installer.find("InstallerReturnCode:", at + 1))
        ++listed;
    EXPECT_EQ(listed, failures);
    // winget's InstallerSuccessCodes lists non-zero successes, and there are none.
    EXPECT_EQ(installer.find("\nInstallerSuccessCodes:"), std::string::npos);
}

TEST(DeploymentManifests, TheAppsAndFeaturesEntryIsTheUninstallKey)
{
    const std::string& installer = FileText(".installer.yaml");
    const std::size_t entry = installer.find("\nAppsAndFeaturesEntries:\n");
    ASSERT_NE(entry, std::string::npos);
    const std::size_t first = installer.find("\n- ", entry) - 1;  // the entry's first line starts with "- "
    EXPECT_EQ(Field(installer, "- DisplayName", first), Narrow(va::ProductDisplayName(true)));
    EXPECT_EQ(Field(installer, "  Publisher", entry), Narrow(va::kMakerName));
    EXPECT_EQ(Field(installer, "  DisplayVersion", entry), Narrow(va::kProductVersionString));
    EXPECT_EQ(Field(installer, "  ProductCode", entry), Narrow(va::ProductKeyOf(va::kThisProductCode)));

    for (const char* fixed : {"\nInstallerType: exe\n", "\nScope: machine\n",
                              "\nElevationRequirement: elevationRequired\n", "\n- Architecture: x86\n",
                              "\nManifestType: installer\n"})
        EXPECT_NE(installer.find(fixed), std::string::npos) << fixed;
    EXPECT_EQ(Field(installer, "  InstallerSha256"), "0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF");
    EXPECT_EQ(Field(installer, "  InstallerUrl"), kUrl);

    // One identifier, one version and one schema version across the three files.
    for (const char* suffix : {".installer.yaml", ".locale.en-US.yaml", "Trelvane7.yaml"}) {
        const std::string& text = FileText(suffix);
        EXPECT_EQ(Field(text, "PackageIdentifier"), va::kWingetPackageIdentifier) << suffix;
        EXPECT_EQ(Field(text, "PackageVersion"), Narrow(va::kProductVersionString)) << suffix;
        EXPECT_EQ(Field(text, "ManifestVersion"), va::kWingetManifestVersion) << suffix;
    }
    EXPECT_EQ(Field(FileText("Trelvane7.yaml"), "DefaultLocale"), "en-US");
    EXPECT_EQ(Field(FileText(".locale.en-US.yaml"), "Publisher"), Narrow(va::kMakerName));
}

TEST(DeploymentManifests, BadFactsAndSwitchesOutsideTheTableAreRefused)
{
    EXPECT_THROW(va::DeploymentManifests({"0123", kUrl}), std::invalid_argument);
    EXPECT_THROW(va::DeploymentManifests({std::string(63, 'a') + "g", kUrl}), std::invalid_argument);
    EXPECT_THROW(va::DeploymentManifests({kDigest, ""}), std::invalid_argument);
    EXPECT_THROW(va::DeploymentManifests({kDigest, "https://x.example/a b.exe"}), std::invalid_argument);
    EXPECT_THROW(va::DeploymentManifests({kDigest, "https://x.example/a'.exe"}), std::invalid_argument);

    EXPECT_THROW(va::InstallerSwitchText(L"silent"), std::logic_error);
    EXPECT_THROW(va::InstallerSwitchText(L"dir"), std::logic_error) << "/dir needs its value";
    EXPECT_THROW(va::InstallerSwitchText(L"quiet", "1"), std::logic_error);
    EXPECT_EQ(va::InstallerSwitchText(L"dir", "<INSTALLPATH>"), "/dir=\"<INSTALLPATH>\"");
    for (const va::SwitchSpec& s : va::InstallerSwitchTable()) {
        if (s.value == va::SwitchValue::None) {
            EXPECT_EQ(va::InstallerSwitchText(s.name), "/" + Narrow(std::wstring(s.name)));
        }
    }
}

}  // namespace
