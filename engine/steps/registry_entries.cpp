#include "engine/steps/registry_entries.h"

#include <windows.h>

#include "identity/core/product.h"
#include "identity/core/registry_locations.h"
#include "engine/journal/uninstall_log.h"
#include "support/fault_point.h"
#include "support/handles.h"

namespace va {
namespace {

// The values that decide a step carry a fault point; the informative ones
// are written or not without changing anything else.
LSTATUS Fault(const char* operation) { return static_cast<LSTATUS>(FaultPoint(operation, ERROR_ACCESS_DENIED)); }

bool SetString(HKEY key, const wchar_t* name, const std::wstring& text, const char* faultPoint = nullptr)
{
    if (faultPoint && Fault(faultPoint) != ERROR_SUCCESS)
        return false;
    // The size counts the terminating zero.
    return ::RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                            static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

bool SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    return ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

}  // namespace

std::wstring QuietUninstallCommand(const std::wstring& uninstallerPath)
{
    return L"\"" + uninstallerPath + L"\" /quiet";
}

bool WriteUninstallKey(UninstallLog& log, const ProductPaths& paths, std::uint32_t languageIndex)
{
    UniqueKey uninstall;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kUninstallRoot, 0, KEY_ALL_ACCESS, uninstall.put()) !=
        ERROR_SUCCESS)
        return false;

    UniqueKey product;
    DWORD disposition = 0;
    if (Fault("create uninstall key") != ERROR_SUCCESS ||
        ::RegCreateKeyExW(uninstall.get(), ProductKey().c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_ALL_ACCESS, nullptr, product.put(), &disposition) != ERROR_SUCCESS)
        return false;

    // The previous installation's key is changed only once it is saved.
    if (log.RecordUninstallKey(disposition == REG_OPENED_EXISTING_KEY ? product.get() : nullptr) != ERROR_SUCCESS)
        return false;

    HKEY key = product.get();
    const bool displayName = SetString(key, L"DisplayName", ProductDisplayName(true), "write uninstall value");
    const bool uninstallString = SetString(key, L"UninstallString", paths.uninstaller, "write uninstall value");
    // Only the two values above decide the step; the rest are informative.
    SetString(key, L"DisplayIcon", paths.mainProgram + L",0");
    SetString(key, L"DisplayVersion", kProductVersionString);
    SetString(key, L"Publisher", kMakerName);
    SetString(key, L"URLInfoAbout", kMakerWebSite);
    SetString(key, L"HelpLink", kMakerWebSite);
    SetString(key, L"URLUpdateInfo", kMakerWebSite);
    SetString(key, L"HelpTelephone", kMakerTelephone);
    SetDword(key, L"NoModify", 1);
    SetDword(key, L"NoRepair", 1);
    SetDword(key, L"VaLanguage", languageIndex);
    // For deployment tools that uninstall without asking: a command line, so
    // the path is quoted (it usually holds blanks).
    SetString(key, L"QuietUninstallString", QuietUninstallCommand(paths.uninstaller));

    const bool result = displayName && uninstallString;
    product.reset();
    log.CommitOutcome(result ? 1 : 0);
    return result;
}

bool WriteProductPathValue(const std::wstring& mainProgramPath)
{
    UniqueKey maker;
    DWORD disposition = 0;
    if (Fault("create maker key") != ERROR_SUCCESS ||
        ::RegCreateKeyExW(HKEY_LOCAL_MACHINE, kMakerKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          MAXIMUM_ALLOWED, nullptr, maker.put(), &disposition) != ERROR_SUCCESS)
        return false;
    if (SetString(maker.get(), ProgramPathValueName().c_str(), mainProgramPath, "write program path"))
        return true;
    // The transaction rolls back on this failure, and the journal knows
    // nothing of the maker's key: one made here for the value goes again
    // (only while it is empty, as it then is).
    maker.reset();
    if (disposition == REG_CREATED_NEW_KEY)
        ::RegDeleteKeyW(HKEY_LOCAL_MACHINE, kMakerKey);
    return false;
}

}  // namespace va
