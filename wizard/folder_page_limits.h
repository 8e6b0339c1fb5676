#pragma once
// The longest folder text the Folder and Shortcut pages take: the shell's
// MAX_PATH.

namespace va {

inline constexpr int kFolderTextLimit = 260;

}  // namespace va
