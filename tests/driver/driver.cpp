#include "tests/driver/driver.h"

#include <optional>
#include <system_error>

#include <commctrl.h>

#include "tests/driver/job.h"

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
    // Suspended until it is in the job, so that nothing it starts escapes.
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                          nullptr, &startup, &info))
        throw std::system_error(static_cast<int>(::GetLastError()), std::system_category(), "CreateProcessW");
    Process process;
    process.handle.reset(info.hProcess);
    process.id = info.dwProcessId;
    const UniqueHandle thread(info.hThread);
    if (!::AssignProcessToJobObject(CurrentProgramJob(), info.hProcess)) {
        const DWORD error = ::GetLastError();
        ::TerminateProcess(info.hProcess, 1);
        throw std::system_error(static_cast<int>(error), std::system_category(), "AssignProcessToJobObject");
    }
    ::ResumeThread(thread.get());
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

void SendButtonCommand(HWND dialog, int id)
{
    ::SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

void ClickButton(HWND dialog, int id)
{
    if (HWND button = ::GetDlgItem(dialog, id))
        ::PostMessageW(button, BM_CLICK, 0, 0);
}

bool WaitUntilSettled(HWND window, DWORD limitMs)
{
    // A message sent to another thread is handled only when that thread next
    // reads its queue, so the answer comes after the handler that was running.
    DWORD_PTR result = 0;
    return ::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, limitMs, &result) != 0;
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

namespace va::test {

bool IsControlEnabled(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control && ::IsWindowEnabled(control);
}

bool IsControlChecked(HWND dialog, int id)
{
    HWND control = ::GetDlgItem(dialog, id);
    return control && ::SendMessageW(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool IsDefaultPushButton(HWND dialog, int id)
{
    HWND button = ::GetDlgItem(dialog, id);
    return button && (::GetWindowLongW(button, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

int DefaultButton(HWND dialog)
{
    const LRESULT answer = ::SendMessageW(dialog, DM_GETDEFID, 0, 0);
    return HIWORD(answer) == DC_HASDEFID ? LOWORD(answer) : 0;
}

RECT RectIn(HWND dialog, HWND window)
{
    RECT rect{};
    ::GetWindowRect(window, &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

std::vector<HWND> ChildDialogs(HWND parent)
{
    std::vector<HWND> dialogs;
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (ClassName(child) == L"#32770")
            dialogs.push_back(child);
    }
    return dialogs;
}

namespace {

// A block of another process's memory, given back when done.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size)
        : process_(process),
          address_(::VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))
    {
    }
    ~RemoteBlock()
    {
        if (address_)
            ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    BYTE* get() const noexcept { return static_cast<BYTE*>(address_); }
    bool Write(size_t offset, const void* data, size_t size) const
    {
        return ::WriteProcessMemory(process_, get() + offset, data, size, nullptr) != FALSE;
    }
    bool Read(size_t offset, void* data, size_t size) const
    {
        return ::ReadProcessMemory(process_, get() + offset, data, size, nullptr) != FALSE;
    }

private:
    HANDLE process_;
    void* address_;
};

}  // namespace

std::optional<std::vector<ComboExItem>> ComboExItems(HWND comboEx)
{
    DWORD processId = 0;
    ::GetWindowThreadProcessId(comboEx, &processId);
    UniqueHandle process(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId));
    if (!process)
        return std::nullopt;
    constexpr size_t kTextLength = 256;
    RemoteBlock block(process.get(), sizeof(COMBOBOXEXITEMW) + kTextLength * sizeof(wchar_t));
    if (!block.get())
        return std::nullopt;
    std::vector<ComboExItem> items;
    const int count = static_cast<int>(::SendMessageW(comboEx, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT | CBEIF_LPARAM;
        item.iItem = i;
        item.pszText = reinterpret_cast<LPWSTR>(block.get() + sizeof(item));
        item.cchTextMax = kTextLength;
        const wchar_t none = L'\0';
        if (!block.Write(0, &item, sizeof(item)) || !block.Write(sizeof(item), &none, sizeof(none)))
            return std::nullopt;
        if (!::SendMessageW(comboEx, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(block.get())))
            return std::nullopt;
        wchar_t text[kTextLength] = {};
        if (!block.Read(0, &item, sizeof(item)) || !block.Read(sizeof(item), text, sizeof(text)))
            return std::nullopt;
        text[kTextLength - 1] = L'\0';
        items.push_back({text, item.lParam});
    }
    return items;
}

void SelectComboItem(HWND dialog, int id, int index)
{
    HWND combo = ::GetDlgItem(dialog, id);
    ::SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

std::optional<std::vector<MenuItem>> SystemMenuItems(HWND window)
{
    HMENU menu = ::GetSystemMenu(window, FALSE);
    if (!menu)
        return std::nullopt;
    const int count = ::GetMenuItemCount(menu);
    if (count < 0)
        return std::nullopt;
    std::vector<MenuItem> items;
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = 255;
        if (!::GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info))
            return std::nullopt;
        items.push_back({info.fType & MFT_SEPARATOR ? 0u : info.wID, text, info.fState});
    }
    return items;
}

}  // namespace va::test
