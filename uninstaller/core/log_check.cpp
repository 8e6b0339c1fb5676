#include "uninstaller/core/log_check.h"

#include "uninstaller/core/path_rules.h"

namespace va::uninstall {

CheckedLog CheckLogBytes(std::string_view bytes, const AnsiDecoder& decode)
{
    LogReader reader(decode);
    if (reader.Feed(bytes))
        reader.Finish();
    return CheckReadLog(reader);
}

CheckedLog CheckReadLog(LogReader& reader)
{
    CheckedLog checked;
    checked.contents = reader.TakeContents();
    if (!reader.Complete()) {
        checked.state = LogState::Damaged;
        checked.line = reader.LinesSeen();
        return checked;
    }
    const LogContents& c = checked.contents;
    // The header's third and fourth lines: the product and where it went.
    if (!c.PreviousProduct || c.PreviousProduct->empty()) {
        // The file ended before its third line, or that line is empty.
        checked.state = LogState::Damaged;
        checked.line = reader.LinesSeen() < 3 ? reader.LinesSeen() + 1 : 3;
        return checked;
    }
    if (!IsPlainAbsolutePath(c.InstallPath)) {
        checked.state = LogState::Damaged;
        checked.line = 4;
        return checked;
    }
    checked.state = LogState::Readable;
    return checked;
}

void RequireOwnFolder(CheckedLog& checked, std::wstring_view ownFolder)
{
    if (checked.state == LogState::Readable && !SamePathText(checked.contents.InstallPath, ownFolder)) {
        checked.state = LogState::Damaged;
        checked.line = 4;
    }
}

void RequireStartMenuFolder(CheckedLog& checked, const std::vector<std::wstring>& startMenus)
{
    const std::wstring& folder = checked.contents.ShortcutPath;
    if (checked.state != LogState::Readable || folder.empty())
        return;
    if (IsPlainAbsolutePath(folder))
        for (const std::wstring& menu : startMenus)
            if (!menu.empty() && IsBelow(folder, menu))
                return;
    checked.state = LogState::Damaged;
    checked.line = 5;
}

}  // namespace va::uninstall
