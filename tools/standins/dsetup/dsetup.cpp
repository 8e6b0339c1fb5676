// Stand-in for the runtime set-up library: it installs nothing.  It reports
// the version and revision it was built with, calls the progress
// callback a few times during a run and records every run under
// HKEY_CURRENT_USER "Software\Vantaro\Test\DirectSetup stand-in":
//   Runs (DWORD, counted up), SourcePath, Flags, ProgressCalls (callback
//   calls with the progress reason), CallbackAnswers (sum of the callback's
//   answers), Result.

#include <windows.h>

namespace {

using SetupCallback = DWORD(WINAPI*)(DWORD reason, DWORD messageType, char* message, char* name,
                                     void* info);

constexpr DWORD kProgressReason = 18;
constexpr int kProgressReports = 3;

SetupCallback g_callback = nullptr;

constexpr wchar_t kRecordKey[] = L"Software\\Vantaro\\Test\\DirectSetup stand-in";

void SetDword(HKEY key, const wchar_t* name, DWORD value)
{
    ::RegSetValueExW(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value));
}

DWORD GetDword(HKEY key, const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    DWORD type = 0;
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return 0;
    return value;
}

void RecordRun(const wchar_t* sourcePath, DWORD flags, DWORD progressCalls, DWORD answers, int result)
{
    HKEY key = nullptr;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, REG_OPTION_NON_VOLATILE,
                          KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    SetDword(key, L"Runs", GetDword(key, L"Runs") + 1);
    const wchar_t* path = sourcePath ? sourcePath : L"";
    ::RegSetValueExW(key, L"SourcePath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                     static_cast<DWORD>((::lstrlenW(path) + 1) * sizeof(wchar_t)));
    SetDword(key, L"Flags", flags);
    SetDword(key, L"ProgressCalls", progressCalls);
    SetDword(key, L"CallbackAnswers", answers);
    SetDword(key, L"Result", static_cast<DWORD>(result));
    ::RegCloseKey(key);
}

}  // namespace

extern "C" {

__declspec(dllexport) int WINAPI DirectXSetupGetVersion(DWORD* version, DWORD* revision)
{
    if (version)
        *version = STANDIN_VERSION;
    if (revision)
        *revision = static_cast<DWORD>(STANDIN_REVISION);
    return 1;
}

__declspec(dllexport) int WINAPI DirectXSetupSetCallback(SetupCallback callback)
{
    g_callback = callback;
    return 0;
}

__declspec(dllexport) int WINAPI DirectXSetupW(HWND, LPWSTR sourcePath, DWORD flags)
{
    char message[] = "Installing";
    char name[] = "DirectX";
    DWORD progressCalls = 0;
    DWORD answers = 0;
    if (g_callback) {
        for (int i = 0; i < kProgressReports; ++i) {
            answers += g_callback(kProgressReason, 0, message, name, nullptr);
            ++progressCalls;
        }
    }
    RecordRun(sourcePath, flags, progressCalls, answers, STANDIN_RESULT);
    return STANDIN_RESULT;
}

}  // extern "C"
