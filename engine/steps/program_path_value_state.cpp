#include "engine/steps/program_path_value_state.h"

#include "identity/core/registry_locations.h"
#include "support/handles.h"

namespace va {

ProgramPathValueState CaptureProgramPathValue()
{
    ProgramPathValueState state;
    UniqueKey maker;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, KEY_QUERY_VALUE, maker.put()) != ERROR_SUCCESS)
        return state;
    state.keyExisted = true;
    const std::wstring name = ProgramPathValueName();
    DWORD size = 0;
    if (::RegQueryValueExW(maker.get(), name.c_str(), nullptr, &state.type, nullptr, &size) != ERROR_SUCCESS)
        return state;
    state.data.resize(size);
    if (size > 0 &&
        ::RegQueryValueExW(maker.get(), name.c_str(), nullptr, &state.type,
                           reinterpret_cast<BYTE*>(state.data.data()), &size) != ERROR_SUCCESS)
        return state;
    state.data.resize(size);
    state.valueExisted = true;
    return state;
}

bool RestoreProgramPathValue(const ProgramPathValueState& before)
{
    const std::wstring name = ProgramPathValueName();
    UniqueKey maker;
    const LSTATUS opened =
        ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, maker.put());
    if (opened == ERROR_FILE_NOT_FOUND)
        return !before.keyExisted;
    if (opened != ERROR_SUCCESS)
        return false;
    if (before.valueExisted)
        return ::RegSetValueExW(maker.get(), name.c_str(), 0, before.type,
                                reinterpret_cast<const BYTE*>(before.data.data()),
                                static_cast<DWORD>(before.data.size())) == ERROR_SUCCESS;
    const LSTATUS deleted = ::RegDeleteValueW(maker.get(), name.c_str());
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND)
        return false;
    maker.reset();
    // Only an empty key goes: RegDeleteKeyW refuses one with subkeys, and a
    // value someone else wrote since keeps it.
    if (!before.keyExisted) {
        UniqueKey check;
        DWORD values = 0;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, KEY_QUERY_VALUE, check.put()) == ERROR_SUCCESS &&
            ::RegQueryInfoKeyW(check.get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values, nullptr,
                               nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            values == 0) {
            check.reset();
            ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kMakerKey);
        }
    }
    return true;
}

}  // namespace va
