// The functions the programs call in system libraries outside the system's
// KnownDLLs: version.dll (the version reader), bcrypt.dll (Boost.UUID's
// random generator) and comctl32.dll (image lists, the Common Controls
// check, task dialogs, window subclasses).  Imported the ordinary way, these libraries would be
// looked for beside the program, before any of its code runs; defined here
// instead, each is loaded on its first call, once the search is restricted,
// from the system folder (the manifest's activation context still chooses
// the Common Controls 6 assembly).  The import names the callers refer to
// are defined here, so the system's import libraries are never linked.

#include <windows.h>
#include <bcrypt.h>
#include <commctrl.h>
#include <winver.h>

#include "support/dll_search_order.h"

namespace {

template <class Function>
Function SystemFunction(const wchar_t* library, const char* name)
{
    // The library stays loaded: its address is kept for the process.
    HMODULE module = va::LoadSystemLibrary(library);
    return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name))) : nullptr;
}

#define VA_SYSTEM_FUNCTION(library, fn) \
    static const auto p##fn = SystemFunction<decltype(&::fn)>(library, #fn)

constexpr wchar_t kVersion[] = L"version.dll";
constexpr wchar_t kBcrypt[] = L"bcrypt.dll";
constexpr wchar_t kCommonControls[] = L"comctl32.dll";

// A function that could not be found fails as the system reports a missing
// one.
constexpr NTSTATUS kNotFound = static_cast<NTSTATUS>(0xC0000139L);  // STATUS_ENTRYPOINT_NOT_FOUND

}  // namespace

extern "C" {

DWORD WINAPI GetFileVersionInfoSizeW(LPCWSTR file, LPDWORD handle)
{
    VA_SYSTEM_FUNCTION(kVersion, GetFileVersionInfoSizeW);
    if (!pGetFileVersionInfoSizeW) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return 0;
    }
    return pGetFileVersionInfoSizeW(file, handle);
}

WINBOOL WINAPI GetFileVersionInfoW(LPCWSTR file, DWORD handle, DWORD length, LPVOID data)
{
    VA_SYSTEM_FUNCTION(kVersion, GetFileVersionInfoW);
    if (!pGetFileVersionInfoW) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return pGetFileVersionInfoW(file, handle, length, data);
}

WINBOOL WINAPI VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length)
{
    VA_SYSTEM_FUNCTION(kVersion, VerQueryValueW);
    if (!pVerQueryValueW) {
        ::SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return pVerQueryValueW(block, subBlock, buffer, length);
}

NTSTATUS WINAPI BCryptOpenAlgorithmProvider(BCRYPT_ALG_HANDLE* algorithm, LPCWSTR id, LPCWSTR implementation,
                                            ULONG flags)
{
    VA_SYSTEM_FUNCTION(kBcrypt, BCryptOpenAlgorithmProvider);
    return pBCryptOpenAlgorithmProvider ? pBCryptOpenAlgorithmProvider(algorithm, id, implementation, flags)
                                        : kNotFound;
}

NTSTATUS WINAPI BCryptCloseAlgorithmProvider(BCRYPT_ALG_HANDLE algorithm, ULONG flags)
{
    VA_SYSTEM_FUNCTION(kBcrypt, BCryptCloseAlgorithmProvider);
    return pBCryptCloseAlgorithmProvider ? pBCryptCloseAlgorithmProvider(algorithm, flags) : kNotFound;
}

NTSTATUS WINAPI BCryptGenRandom(BCRYPT_ALG_HANDLE algorithm, PUCHAR buffer, ULONG length, ULONG flags)
{
    VA_SYSTEM_FUNCTION(kBcrypt, BCryptGenRandom);
    return pBCryptGenRandom ? pBCryptGenRandom(algorithm, buffer, length, flags) : kNotFound;
}

}  // extern "C"

// Common Controls' functions are declared as imported: their callers go
// through the import slots "__imp__<name>@<bytes>", defined here, which lead
// to the library's function once found.
namespace {

WINBOOL WINAPI FirstInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls);
HIMAGELIST WINAPI FirstImageListCreate(int cx, int cy, UINT flags, int initial, int grow);
WINBOOL WINAPI FirstImageListDestroy(HIMAGELIST list);
int WINAPI FirstImageListReplaceIcon(HIMAGELIST list, int index, HICON icon);
HRESULT WINAPI FirstTaskDialogIndirect(const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                                       WINBOOL* verificationChecked);
WINBOOL WINAPI FirstSetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
WINBOOL WINAPI FirstRemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT WINAPI FirstDefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace

extern "C" {
decltype(&::InitCommonControlsEx) slotInitCommonControlsEx __asm__("__imp__InitCommonControlsEx@4") =
    FirstInitCommonControlsEx;
decltype(&::ImageList_Create) slotImageListCreate __asm__("__imp__ImageList_Create@20") = FirstImageListCreate;
decltype(&::ImageList_Destroy) slotImageListDestroy __asm__("__imp__ImageList_Destroy@4") = FirstImageListDestroy;
decltype(&::ImageList_ReplaceIcon) slotImageListReplaceIcon __asm__("__imp__ImageList_ReplaceIcon@12") =
    FirstImageListReplaceIcon;
decltype(&::TaskDialogIndirect) slotTaskDialogIndirect __asm__("__imp__TaskDialogIndirect@16") =
    FirstTaskDialogIndirect;
decltype(&::SetWindowSubclass) slotSetWindowSubclass __asm__("__imp__SetWindowSubclass@16") = FirstSetWindowSubclass;
decltype(&::RemoveWindowSubclass) slotRemoveWindowSubclass __asm__("__imp__RemoveWindowSubclass@12") =
    FirstRemoveWindowSubclass;
decltype(&::DefSubclassProc) slotDefSubclassProc __asm__("__imp__DefSubclassProc@16") = FirstDefSubclassProc;
}

namespace {

// Finds the function, puts it in its slot for the calls that follow, and
// answers whether it was found.
template <class Function>
bool Bind(Function& slot, const char* name)
{
    const auto found = SystemFunction<Function>(kCommonControls, name);
    if (!found)
        return false;
    slot = found;
    return true;
}

WINBOOL WINAPI FirstInitCommonControlsEx(const INITCOMMONCONTROLSEX* controls)
{
    return Bind(slotInitCommonControlsEx, "InitCommonControlsEx") ? slotInitCommonControlsEx(controls) : FALSE;
}

HIMAGELIST WINAPI FirstImageListCreate(int cx, int cy, UINT flags, int initial, int grow)
{
    return Bind(slotImageListCreate, "ImageList_Create") ? slotImageListCreate(cx, cy, flags, initial, grow)
                                                         : nullptr;
}

WINBOOL WINAPI FirstImageListDestroy(HIMAGELIST list)
{
    return Bind(slotImageListDestroy, "ImageList_Destroy") ? slotImageListDestroy(list) : FALSE;
}

int WINAPI FirstImageListReplaceIcon(HIMAGELIST list, int index, HICON icon)
{
    return Bind(slotImageListReplaceIcon, "ImageList_ReplaceIcon") ? slotImageListReplaceIcon(list, index, icon)
                                                                   : -1;
}

HRESULT WINAPI FirstTaskDialogIndirect(const TASKDIALOGCONFIG* config, int* button, int* radioButton,
                                       WINBOOL* verificationChecked)
{
    return Bind(slotTaskDialogIndirect, "TaskDialogIndirect")
               ? slotTaskDialogIndirect(config, button, radioButton, verificationChecked)
               : HRESULT_FROM_WIN32(ERROR_PROC_NOT_FOUND);
}

WINBOOL WINAPI FirstSetWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data)
{
    return Bind(slotSetWindowSubclass, "SetWindowSubclass") ? slotSetWindowSubclass(window, procedure, id, data)
                                                            : FALSE;
}

WINBOOL WINAPI FirstRemoveWindowSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id)
{
    return Bind(slotRemoveWindowSubclass, "RemoveWindowSubclass") ? slotRemoveWindowSubclass(window, procedure, id)
                                                                  : FALSE;
}

// Only ever reached from a subclass procedure, so after SetWindowSubclass
// has found the library.
LRESULT WINAPI FirstDefSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return Bind(slotDefSubclassProc, "DefSubclassProc") ? slotDefSubclassProc(window, message, wParam, lParam)
                                                        : ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace
