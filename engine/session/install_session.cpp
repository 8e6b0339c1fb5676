#include "engine/session/install_session.h"

#include <windows.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "identity/run_folder_name.h"

namespace va {
namespace {

// The live sessions, oldest first.  Made on first use: the application
// object registers itself during static initialisation.
std::vector<InstallSession*>& LiveSessions()
{
    static std::vector<InstallSession*> sessions;
    return sessions;
}

}  // namespace

InstallSession::InstallSession()
{
    LiveSessions().push_back(this);
}

InstallSession::~InstallSession()
{
    auto& sessions = LiveSessions();
    sessions.erase(std::remove(sessions.begin(), sessions.end(), this), sessions.end());
}

InstallSession& Session()
{
    auto& sessions = LiveSessions();
    if (sessions.empty())
        throw std::logic_error("no installer session");
    return *sessions.back();
}

std::int32_t InstallSession::GetInstallKind(std::wstring* versionText) const
{
    if (versionText && (InstallKind == Update || InstallKind == NewerInstalled))
        *versionText = FoundVersionText;
    return InstallKind;
}

bool InstallSession::MakeTemporaryFolder(std::wstring& errorText)
{
    const auto fail = [&errorText](DWORD code, const wchar_t* call) {
        wchar_t text[64] = {};
        std::swprintf(text, 64, L"%08x (%ls)", static_cast<unsigned>(code), call);
        errorText = text;
        return false;
    };
    wchar_t buffer[260] = {};
    const DWORD length = ::GetTempPathW(260, buffer);
    if (length == 0 || length > 246)
        return fail(::GetLastError(), L"GetTempPath");
    const std::wstring name = NewRunFolderName();
    // A temporary path of more than 213 characters leaves no room for the
    // name: PathAppendW refuses, and the buffer names no per-run folder.
    if (!::PathAppendW(buffer, name.c_str()))
        return fail(ERROR_FILENAME_EXCED_RANGE, L"PathAppend");
    TemporaryFolder = buffer;
    return true;
}

bool InstallSession::AcquireInstanceMutex()
{
    return InstanceMutex.Acquire();
}

void InstallSession::ReleaseInstanceMutex()
{
    InstanceMutex.Release();
}

void InstallSession::SetApplicationTitle(const std::wstring& title)
{
    ApplicationTitle = title;
}

}  // namespace va
