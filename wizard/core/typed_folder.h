#pragma once
// The check of a folder typed into the browser's edit box that the shell
// could not resolve: the text is qualified as the user meant it and refused
// with a Windows error code when it cannot name a folder.  The calls that
// need the system (the current directory, the qualification) come through
// FolderQualifier, so the rules run as tables without a window.

#include <cstdint>
#include <optional>
#include <string>

namespace va {

class FolderQualifier {
public:
    virtual ~FolderQualifier() = default;
    // The process's current directory; 0 or the Windows error.
    virtual std::uint32_t GetCurrentFolder(std::wstring& folder) = 0;
    virtual std::uint32_t SetCurrentFolder(const std::wstring& folder) = 0;
    // The text made a full path against the current directory, as the shell
    // qualifies it; nothing when it cannot.
    virtual std::optional<std::wstring> Qualify(const std::wstring& text) = 0;
};

struct TypedFolder {
    std::uint32_t error = 0;  // 0: accepted
    std::wstring folder;      // the fully qualified folder when accepted
};

// ERROR_BAD_PATHNAME: no folder, or one outside the root's parent.
inline constexpr std::uint32_t kTypedFolderBadPath = 161;
// HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE): the text is too long.
inline constexpr std::uint32_t kTypedFolderTooLong = 0x800700CE;

// With `rootBase` (relative mode) a relative text is qualified against the
// root base, which is the current directory for that one qualification and
// then put back, and a folder outside the root base is refused.
TypedFolder CheckTypedFolder(const std::wstring& text, const std::optional<std::wstring>& rootBase,
                             FolderQualifier& system);

}  // namespace va
