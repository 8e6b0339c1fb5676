#include "tests/driver/driver.h"

#include <optional>
#include <system_error>

namespace va::test {
namespace {

constexpr DWORD kPollMs = 50;

struct Search {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND window, LPARAM context)
{
    Search* search = reinterpret_cast<Search*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && ::IsWindowVisible(window) && ClassName(window) == L"#32770")
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> Children(HWND parent)
{
    std::vector<HWND> children;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

Process StartProgram(const std::wstring& program, const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty())
        commandLine += L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &info))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateProcessW");
    ::CloseHandle(info.hThread);
    Process process;
    process.handle.reset(info.hProcess);
    process.id = info.dwProcessId;
    return process;
}

std::vector<HWND> DialogsOf(DWORD processId)
{
    Search search{processId, {}};
    ::EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForDialog(DWORD processId, const std::function<bool(HWND)>& match, DWORD limitMs, HANDLE process)
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    for (;;) {
        for (HWND dialog : DialogsOf(processId)) {
            if (!match || match(dialog))
                return dialog;
        }
        if (::GetTickCount64() >= end)
            return nullptr;
        if (process && ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0)
            return nullptr;
        ::Sleep(kPollMs);
    }
}

HWND WaitForDialog(const Process& process, const std::function<bool(HWND)>& match, DWORD limitMs)
{
    return WaitForDialog(process.id, match, limitMs, process.handle.get());
}

std::wstring WindowText(HWND window)
{
    // WM_GETTEXT works across processes, GetWindowTextW only within one.
    const LRESULT length = ::SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = ::SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(copied > 0 ? copied : 0));
    return text;
}

std::wstring ClassName(HWND window)
{
    wchar_t name[64] = {};
    const int length = ::GetClassNameW(window, name, 64);
    return std::wstring(name, length > 0 ? length : 0);
}

std::wstring ControlText(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control ? WindowText(control) : std::wstring();
}

std::vector<std::wstring> StaticTexts(HWND dialog)
{
    std::vector<std::wstring> texts;
    for (HWND child : Children(dialog)) {
        if (_wcsicmp(ClassName(child).c_str(), L"Static") == 0)
            texts.push_back(WindowText(child));
    }
    return texts;
}

std::wstring MessageBoxText(HWND box)
{
    return ControlText(box, 0xFFFF);
}

std::vector<int> ButtonIds(HWND dialog)
{
    std::vector<int> ids;
    for (HWND child : Children(dialog)) {
        if (_wcsicmp(ClassName(child).c_str(), L"Button") == 0 && ::IsWindowVisible(child))
            ids.push_back(::GetDlgCtrlID(child));
    }
    return ids;
}

HICON MessageBoxIcon(HWND box)
{
    // Windows numbers the icon control 20, Wine 1088.
    HWND icon = ::GetDlgItem(box, 20);
    if (!icon)
        icon = ::GetDlgItem(box, 1088);
    return icon ? reinterpret_cast<HICON>(::SendMessageW(icon, STM_GETICON, 0, 0)) : nullptr;
}

namespace {

std::optional<std::vector<BYTE>> IconBits(HICON icon)
{
    ICONINFO info{};
    if (!icon || !::GetIconInfo(icon, &info))
        return std::nullopt;
    std::vector<BYTE> bits;
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask}) {
        BITMAP header{};
        if (bitmap && ::GetObjectW(bitmap, sizeof header, &header)) {
            std::vector<BYTE> part(static_cast<size_t>(header.bmWidthBytes) * header.bmHeight);
            ::GetBitmapBits(bitmap, static_cast<LONG>(part.size()), part.data());
            bits.insert(bits.end(), part.begin(), part.end());
        }
        if (bitmap)
            ::DeleteObject(bitmap);
    }
    return bits;
}

}  // namespace

std::optional<bool> SameIconImage(HICON shown, LPCWSTR systemIcon)
{
    const std::optional<std::vector<BYTE>> theirs = IconBits(shown);
    if (!theirs)
        return std::nullopt;
    const std::optional<std::vector<BYTE>> ours = IconBits(::LoadIconW(nullptr, systemIcon));
    if (!ours)
        return std::nullopt;
    return *theirs == *ours;
}

void PressButton(HWND dialog, int id)
{
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ClickButton(HWND dialog, int id)
{
    if (HWND button = ::GetDlgItem(dialog, id))
        ::PostMessageW(button, BM_CLICK, 0, 0);
}

DWORD WaitForExit(const Process& process, DWORD limitMs)
{
    if (::WaitForSingleObject(process.handle.get(), limitMs) != WAIT_OBJECT_0)
        return STILL_ACTIVE;
    DWORD code = STILL_ACTIVE;
    ::GetExitCodeProcess(process.handle.get(), &code);
    return code;
}

bool WaitUntilGone(HWND window, DWORD limitMs)
{
    const ULONGLONG end = ::GetTickCount64() + limitMs;
    while (::IsWindow(window)) {
        if (::GetTickCount64() >= end)
            return false;
        ::Sleep(kPollMs);
    }
    return true;
}

}  // namespace va::test
