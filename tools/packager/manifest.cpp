#include "tools/packager/manifest.h"

#include <fstream>
#include <map>
#include <sstream>
#include <system_error>

#include "engine/package/core/folder_tokens.h"
#include "engine/package/core/package_format.h"
#include "tools/packager/text.h"

namespace packager {
namespace {

std::string trim(const std::string& s)
{
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

bool parse_kind(const std::string& text, std::uint32_t& kind)
{
    static const std::map<std::string, std::uint32_t> names = {
        {"language", 0}, {"program", 1}, {"uninstaller", 2}, {"data", 3}, {"sample", 4}, {"directx", 5},
    };
    if (auto it = names.find(text); it != names.end()) {
        kind = it->second;
        return true;
    }
    if (text.size() == 1 && text[0] >= '0' && text[0] <= '5') {
        kind = static_cast<std::uint32_t>(text[0] - '0');
        return true;
    }
    return false;
}

// Resolves with stand-in folders, one per token, to learn whether the reader
// would accept the destination and which folder it names; empty when refused.
// The samples stand-in holds a character no real folder can, so that it
// never meets a folder spelt out below the desktop.
std::wstring resolved_destination(const std::wstring& destination)
{
    const va::FolderInputs inputs{L"I:\\install", L"?samples", L"T:\\temporary"};
    try {
        std::wstring resolved = va::resolve_destination(
            destination, inputs, [](int csidl, int) { return L"K:\\known" + std::to_wstring(csidl); },
            [](const std::wstring&) {});
        return va::is_absolute_folder(resolved) ? resolved : std::wstring();
    } catch (const std::system_error&) {
        return {};
    }
}

// Windows folds letter case and accepts either separator: two spellings of
// one target must meet under the same key.
std::wstring target_key(std::wstring folder, const std::wstring& fileName)
{
    while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/'))
        folder.pop_back();
    std::wstring key;
    bool lastWasSeparator = false;
    for (wchar_t c : folder + L"\\" + fileName) {
        const bool separator = c == L'\\' || c == L'/';
        if (separator && lastWasSeparator)
            continue;
        lastWasSeparator = separator;
        key += separator ? L'\\' : (c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c);
    }
    return key;
}

bool valid_file_name(const std::wstring& name)
{
    if (name.empty() || name == L"." || name == L".." || name.back() == L' ' || name.back() == L'.')
        return false;
    for (wchar_t c : name)
        if (c < 32 || std::wstring_view(L"<>:\"/\\|?*").find(c) != std::wstring_view::npos)
            return false;
    return true;
}

}  // namespace

std::vector<ManifestEntry> parse_manifest(const std::string& text, const std::string& name,
                                          const std::filesystem::path& sourceFolder)
{
    std::vector<ManifestEntry> entries;
    std::map<std::wstring, int> targets;  // target_key -> line
    std::istringstream in(text);
    std::string raw;
    int lineNumber = 0;
    auto fail = [&](const std::string& why) {
        throw ManifestError(name + ":" + std::to_string(lineNumber) + ": " + why);
    };
    while (std::getline(in, raw)) {
        ++lineNumber;
        const std::string line = trim(raw);
        if (line.empty() || line[0] == '#')
            continue;
        std::vector<std::string> fields;
        std::size_t start = 0;
        while (true) {
            const std::size_t bar = line.find('|', start);
            fields.push_back(trim(line.substr(start, bar == std::string::npos ? std::string::npos : bar - start)));
            if (bar == std::string::npos)
                break;
            start = bar + 1;
        }
        if (fields.size() != 3)
            fail("expected 'kind | destination folder | source file'");
        ManifestEntry entry;
        entry.line = lineNumber;
        if (!parse_kind(fields[0], entry.kind))
            fail("unknown kind '" + fields[0] + "' (language, program, uninstaller, data, sample, directx or 0-5)");
        try {
            entry.destination = utf16_units(fields[1]);
            entry.source = utf16_units(fields[2]);
        } catch (const std::invalid_argument&) {
            fail("text is not UTF-8");
        }
        const std::wstring resolved = resolved_destination(entry.destination);
        if (resolved.empty())
            fail("destination '" + fields[1] +
                 "' must begin with a folder token such as <InstallPath> or be an absolute folder, without "
                 "unknown tokens or '..' above it");
        for (wchar_t& c : entry.source)
            if (c == L'/')
                c = L'\\';
        const std::wstring fileName(va::file_name_of(entry.source));
        if (!valid_file_name(fileName))
            fail("source '" + fields[2] + "' does not end in a valid file name");
        if (fileName.size() > kMaximumName)
            fail("file name longer than " + std::to_string(kMaximumName) + " characters");
        if (entry.destination.size() + 1 + fileName.size() > kMaximumPath)
            fail("destination folder and file name longer than " + std::to_string(kMaximumPath) + " characters");
        if (entry.source.size() > kMaximumPath * 4)
            fail("source path too long");
        if (auto [it, fresh] = targets.emplace(target_key(resolved, fileName), lineNumber); !fresh)
            fail("same target as line " + std::to_string(it->second));

        std::string local = fields[2];
        for (char& c : local)
            if (c == '\\')
                c = '/';
        entry.file = std::filesystem::path(local);
        if (entry.file.is_relative())
            entry.file = sourceFolder / entry.file;
        std::error_code ec;
        if (!std::filesystem::is_regular_file(entry.file, ec))
            fail("source file '" + entry.file.string() + "' not found");
        entries.push_back(std::move(entry));
    }
    if (entries.size() > 0xFFFFFFFFu)
        throw ManifestError(name + ": too many entries");
    return entries;
}

std::vector<ManifestEntry> read_manifest(const std::filesystem::path& manifest,
                                         const std::filesystem::path& sourceFolder)
{
    std::ifstream in(manifest, std::ios::binary);
    if (!in)
        throw ManifestError(manifest.string() + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return parse_manifest(text.str(), manifest.string(), sourceFolder);
}

}  // namespace packager
