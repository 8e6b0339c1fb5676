#pragma once
// The Shortcut page shows the Start-menu folder relative to the Start menu
// and turns that text back into the folder.

#include <string>

namespace va {

// `folder` relative to the Start-menu root `root`: empty for the root
// itself, no leading ".\".  A folder that lies outside the root, or that
// cannot be related to it (another drive), is shown as it is.
std::wstring StartMenuText(const std::wstring& root, const std::wstring& folder);

// The folder that `text` names below `root` (an absolute text stands for
// itself; an empty one is the root); `previous` when the result would not
// fit the shell's path buffer.
std::wstring StartMenuFolderFromText(const std::wstring& root, const std::wstring& text,
                                     const std::wstring& previous);

}  // namespace va
