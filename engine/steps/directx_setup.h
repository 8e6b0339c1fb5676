#pragma once
// The runtime set-up library that travels in the package and is run from
// the per-run temporary folder.

#include <windows.h>

#include <string>

#include "support/handles.h"

namespace va {

class InstallProgress;
class MessageTexts;
class UninstallLog;

inline constexpr const wchar_t* kDirectXSetupLibrary = L"DSetup.dll";
inline constexpr DWORD kDirectXMinimumVersion = 0x00040009;
inline constexpr DWORD kDirectXMinimumRevision = 903;
inline constexpr DWORD kDirectXSetupFlags = 0x10018;  // core, display and sound drivers
inline constexpr DWORD kDirectXProgressReason = 18;

struct DirectXSetup {
    std::wstring folder;  // where the redistributable's files lie
    UniqueModule module;  // empty when the library is missing or not usable
};

// The library of `folder`, kept only when it reports at least the minimum
// version and revision.
DirectXSetup LoadDirectXSetup(const std::wstring& folder);

// Runs the set-up from its folder; a restart request counts as success and
// is not acted upon.
bool RunDirectXSetup(const DirectXSetup& setup, HWND owner);

// The progress callback: keeps the interface alive on progress reports.
DWORD WINAPI DirectXSetupCallback(DWORD reason, DWORD messageType, char* message, char* name,
                                  void* info);

// The DirectX step: skipped without a trace when no usable library is
// there, and when the previous installation already ran it successfully,
// unless the same version is being reinstalled.  True unless the set-up ran
// and failed.
bool RunDirectXStep(UninstallLog& log, const std::wstring& temporaryFolder, bool reinstall,
                    const MessageTexts& texts, InstallProgress& progress, HWND owner);

}  // namespace va
