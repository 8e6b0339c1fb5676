#pragma once
// Removal that never acts through a link.  Every folder on the way to the
// item is opened without following a link, checked, and held open without
// letting anyone rename or delete it until the item is gone; the item is
// opened the same way, checked, and deleted through that very handle, so
// what was checked is what goes.

#include <windows.h>

#include <string>
#include <vector>

namespace va::uninstall {

struct LinkFreeRemoval {
    // ERROR_SUCCESS when removed; ERROR_FILE_NOT_FOUND when the item (or a
    // folder on its way) is not there; otherwise why it stays.
    DWORD error = ERROR_SUCCESS;
    // The link met on the way (or the item itself when it is a link or a
    // file with more than one name): nothing was done through it.
    std::wstring link;
};

// `folders`: the folders on the way (FoldersOnTheWay), outermost first.
// A file with more than one name may be another file's second name: it is
// left (`link` names it, `error` ERROR_TOO_MANY_LINKS).
LinkFreeRemoval RemoveFileWithoutLinks(const std::wstring& path, const std::vector<std::wstring>& folders);
// An empty folder; ERROR_DIR_NOT_EMPTY while something is inside.
LinkFreeRemoval RemoveFolderWithoutLinks(const std::wstring& path, const std::vector<std::wstring>& folders);

}  // namespace va::uninstall
