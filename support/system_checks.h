#pragma once
// What must hold before the installer shows anything: SSE2, Common Controls 6,
// administrator rights.

#include <windows.h>

namespace va {

// Set by CheckProcessor; constant-initialised, so it is valid before any
// dynamic initialiser runs.
inline bool ProcessorSupported = false;

// Set before the start-up checks when the command line asks for no window
// ("/quiet"): the checks' boxes are left out, their exit codes stay.
inline bool StartupBoxesSilenced = false;

using ProcessorFeatureQuery = BOOL(WINAPI*)(DWORD feature);

// Without SSE2: the three-language box (unless silenced), then ExitProcess(1).
void CheckProcessor(ProcessorFeatureQuery featurePresent = ::IsProcessorFeaturePresent);

// Comctl32.dll's version as major * 65536 + minor; 0 when it cannot be told.
DWORD CommonControlsVersion();
using CommonControlsVersionQuery = DWORD (*)();
// Raises std::logic_error below version 6.0.
void CheckCommonControls(CommonControlsVersionQuery version = CommonControlsVersion);

// Whether the Administrators group is enabled in the process token; raises
// the call's error when the query itself fails.
bool IsAdministrator();

}  // namespace va
