#include "tests/support/process_helpers.h"

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

Child Start(const std::wstring& commandLine)
{
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    std::wstring line = commandLine;
    Child child;
    if (::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                         &startup, &info)) {
        ::CloseHandle(info.hThread);
        child.process.reset(info.hProcess);
        child.id = info.dwProcessId;
    }
    return child;
}

DWORD WaitExitCode(const Child& child, DWORD milliseconds)
{
    if (::WaitForSingleObject(child.process.get(), milliseconds) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(child.process.get(), &code);
    return code;
}

namespace {

struct BoxSearch {
    DWORD processId;
    HWND found;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<BoxSearch*>(param);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (owner == search->processId && ::IsWindowVisible(window) &&
        std::wstring(className) == L"#32770") {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectStatic(HWND child, LPARAM param)
{
    wchar_t className[64] = {};
    ::GetClassNameW(child, className, 64);
    if (::lstrcmpiW(className, L"Static") == 0) {
        const std::wstring text = WindowText(child);
        if (!text.empty())
            reinterpret_cast<std::vector<std::wstring>*>(param)->push_back(text);
    }
    return TRUE;
}

}  // namespace

HWND WaitForBox(DWORD processId, DWORD milliseconds)
{
    const ULONGLONG deadline = ::GetTickCount64() + milliseconds;
    do {
        BoxSearch search{processId, nullptr};
        ::EnumWindows(FindBox, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        ::Sleep(50);
    } while (::GetTickCount64() < deadline);
    return nullptr;
}

std::wstring WindowText(HWND window)
{
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(length + 1, L'\0');
    text.resize(::GetWindowTextW(window, text.data(), length + 1));
    return text;
}

std::vector<std::wstring> StaticTexts(HWND box)
{
    std::vector<std::wstring> texts;
    ::EnumChildWindows(box, CollectStatic, reinterpret_cast<LPARAM>(&texts));
    return texts;
}

void PressButton(HWND box, int id)
{
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0);
}

std::wstring UniqueName(const wchar_t* stem)
{
    static std::atomic<int> serial{0};
    return std::wstring(stem) + L"." + std::to_wstring(::GetCurrentProcessId()) + L"." +
           std::to_wstring(++serial);
}

}  // namespace test_support
