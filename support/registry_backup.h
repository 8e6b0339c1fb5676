#pragma once
// Saving a registry key to a file and putting it back, and deleting a key
// with everything below it.  Each call tells success, "not there" and a real
// error apart; the caller holds whatever privilege the call needs.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

enum class KeyOutcome { Done, Missing, Failed };

struct KeyResult {
    KeyOutcome Outcome = KeyOutcome::Failed;
    LSTATUS Code = ERROR_SUCCESS;

    bool Done() const { return Outcome == KeyOutcome::Done; }
};

KeyResult OpenRegistryKey(HKEY parent, const std::wstring& subkey, REGSAM access, UniqueKey& key);
// The file must not exist.
KeyResult SaveKeyToFile(HKEY key, const std::wstring& file);
KeyResult RestoreKeyFromFile(HKEY key, const std::wstring& file);
KeyResult DeleteKeyTree(HKEY parent, const std::wstring& subkey);

}  // namespace va
