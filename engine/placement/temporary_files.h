#pragma once
// Files that only pass through this run's temporary folder (the DirectX
// set-up), removed with the folder at the end of the install transaction.

#include <string>
#include <vector>

namespace va {

struct TemporaryFiles {
    std::wstring folder;
    std::vector<std::wstring> files;
};

// Removes each file (read-only ones too) and then the folder if it is
// empty; every failure is ignored; the list is emptied.
void CleanUpTemporaryFiles(TemporaryFiles& list);

}  // namespace va
