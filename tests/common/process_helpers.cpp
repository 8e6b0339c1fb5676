#include "tests/common/process_helpers.h"

#include <windows.h>

#include <atomic>

namespace test_support {

std::wstring BesideThisProgram(const std::wstring& name)
{
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.erase(folder.find_last_of(L'\\') + 1);
    return folder + name;
}

std::wstring UniqueName(const wchar_t* stem)
{
    static std::atomic<int> serial{0};
    return std::wstring(stem) + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
           std::to_wstring(++serial);
}

}  // namespace test_support
