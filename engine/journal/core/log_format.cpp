#include "engine/journal/core/log_format.h"

#include <cstdio>

#include "identity/core/registry_locations.h"
#include "engine/journal/core/log_texts.h"
#include "support/core/path_text.h"

namespace va {
namespace {

using namespace log_text;

std::wstring Commented(std::wstring_view text)
{
    std::wstring line;
    line.reserve(kCommentPrefix.size() + text.size() + kLineBreak.size());
    line += kCommentPrefix;
    line += text;
    line += kLineBreak;
    return line;
}


}  // namespace

std::wstring LogBeside(const std::wstring& program)
{
    const std::wstring folder = ParentFolder(program);
    if (folder.empty())
        return {};
    return folder + L"\\" + kLogFileName;
}

std::vector<std::wstring> FormatLogHeader(const std::wstring& productDisplayName,
                                          const std::wstring& previousProduct,
                                          const std::wstring& installFolder,
                                          const std::wstring& startMenuFolder)
{
    std::wstring product = std::wstring(kInstallLabel) + L" " + productDisplayName;
    if (!previousProduct.empty())
        product += L" -- Update (" + previousProduct + L")";
    std::wstring shortcut = std::wstring(kShortcutPathLabel) + startMenuFolder;

    std::vector<std::wstring> lines;
    lines.push_back(Commented(std::wstring(kVersionLabel) + L"1"));
    lines.push_back(Commented(kWarning));
    lines.push_back(Commented(product));
    lines.push_back(Commented(std::wstring(kInstallPathLabel) + installFolder));
    lines.push_back(Commented(shortcut));
    lines.push_back(Commented(std::wstring(shortcut.size(), L'-')));
    return lines;
}

std::wstring FormatLogEntry(std::size_t index, const LogEntry& entry)
{
    const std::uint32_t code = static_cast<std::uint32_t>(entry.Type) * 256u +
                               (static_cast<std::uint32_t>(entry.Detail) & 0xFFu);
    char head[48];
    std::snprintf(head, sizeof head, "%04llu:%04lx:%c -- ",
                  static_cast<unsigned long long>(index), static_cast<unsigned long>(code),
                  entry.Outcome ? '1' : '0');
    std::wstring line(head, head + std::char_traits<char>::length(head));
    line += entry.Path;
    line += kLineBreak;
    return line;
}

std::optional<std::wstring> FixedLogPath(std::int32_t type, const std::wstring& productKey)
{
    if (type == UninstallKey)
        return std::wstring(kLocalMachinePrefix) + kUninstallRoot + L"\\" + productKey;
    if (type == FileTypes)
        return std::wstring(kFileTypesText);
    return std::nullopt;
}

std::string EncodeUtf16Le(std::wstring_view text)
{
    std::string bytes;
    bytes.reserve(text.size() * 2);
    auto put = [&bytes](std::uint32_t unit) {
        bytes.push_back(static_cast<char>(unit & 0xFF));
        bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
    };
    for (wchar_t c : text) {
        auto value = static_cast<std::uint32_t>(c);
        if (value > 0xFFFF && value <= 0x10FFFF) {  // only where wchar_t is 32 bits wide
            value -= 0x10000;
            put(0xD800 + (value >> 10));
            put(0xDC00 + (value & 0x3FF));
        } else {
            put(value);
        }
    }
    return bytes;
}

}  // namespace va
