#include "wizard/folder_browser.h"

#include <shlwapi.h>

#include <utility>

#include "support/core/install_folder_rule.h"
#include "support/error_text.h"
#include "support/message_hooks.h"
#include "wizard/core/folder_paths.h"
#include "wizard/core/shell_path.h"
#include "wizard/core/typed_folder.h"
#include "wizard/process_folder_qualifier.h"

namespace va {
namespace {

bool LaidOutRightToLeft(HWND window)
{
    return (::GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0;
}

HWND RootOwner(HWND window)
{
    HWND root = ::GetAncestor(window, GA_ROOTOWNER);
    return root ? root : window;
}

BOOL CALLBACK FindCaptionedRoot(HWND window, LPARAM found)
{
    const HWND root = RootOwner(window);
    if ((::GetWindowLongW(root, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) {
        *reinterpret_cast<HWND*>(found) = root;
        return FALSE;
    }
    return TRUE;
}

// The root owner of the active window, else the first captioned root of the
// thread's windows; then the pop-up last active over it.
HWND BrowserOwner()
{
    HWND owner = ::GetActiveWindow();
    if (owner)
        owner = RootOwner(owner);
    else
        ::EnumThreadWindows(::GetCurrentThreadId(), FindCaptionedRoot, reinterpret_cast<LPARAM>(&owner));
    return owner ? ::GetLastActivePopup(owner) : nullptr;
}

// The system text of `code` in a box owned by `owner`, without caption.
void ShowBrowserError(HWND owner, DWORD code)
{
    const bool rightToLeft = owner ? LaidOutRightToLeft(owner) : UserDefaultRightToLeft();
    const UINT type = MB_ICONEXCLAMATION | (rightToLeft ? MB_RTLREADING : 0);
    ::MessageBoxW(owner, ErrorText(code).c_str(), nullptr, type);
}

// The user's Documents folder, asked once per process (empty when the
// system names none).
const std::wstring& DocumentsFolder()
{
    static const std::wstring folder = [] {
        UniqueTaskString path;
        if (FAILED(::SHGetKnownFolderPath(FOLDERID_Documents, KF_FLAG_DONT_VERIFY, nullptr, path.put())) || !path)
            return std::wstring();
        return std::wstring(path.get());
    }();
    return folder;
}

std::optional<std::wstring> PathOf(PCIDLIST_ABSOLUTE list)
{
    wchar_t path[MAX_PATH] = {};
    if (!list || !::SHGetPathFromIDListW(list, path))
        return std::nullopt;
    return std::wstring(path);
}

BOOL CALLBACK FindEdit(HWND window, LPARAM found)
{
    wchar_t name[16] = {};
    if (::GetClassNameW(window, name, 16) && ::lstrcmpiW(name, L"Edit") == 0) {
        *reinterpret_cast<HWND*>(found) = window;
        return FALSE;
    }
    return TRUE;
}

}  // namespace

FolderBrowser::FolderBrowser(std::wstring title) : title_(std::move(title)) {}

FolderBrowser::~FolderBrowser() = default;

void FolderBrowser::SetRoot(UniqueIdList root)
{
    root_ = std::move(root);
    rootBase_.clear();
}

std::optional<std::wstring> FolderBrowser::RootBase()
{
    if (!root_)
        return std::nullopt;
    if (rootBase_.empty()) {
        if (auto path = PathOf(root_.get())) {
            if (RemoveLastComponent(*path))
                rootBase_ = *path;
        }
    }
    if (rootBase_.empty())
        return std::nullopt;
    return rootBase_;
}

void FolderBrowser::Setup(const std::wstring& initial, const std::wstring& suffix)
{
    current_ = IsRelativePath(initial) ? std::wstring() : initial;
    if (current_.empty() && root_) {
        if (auto path = PathOf(root_.get()))
            current_ = *path;
    }
    if (!current_.empty() && current_.back() == L':')
        current_ += L'\\';
    if (current_.empty())
        current_ = DocumentsFolder();

    suffix_ = UsableSuffix(suffix);
    current_ = Normalise(current_, suffix_, RootBase());
}

bool FolderBrowser::InitializeCom(HWND owner)
{
    if (com_)
        return true;
    com_.emplace();
    if (!com_->Succeeded()) {
        ShowBrowserError(owner, static_cast<DWORD>(com_->Result()));
        com_.reset();
        return false;
    }
    return true;
}

bool FolderBrowser::Run(const std::wstring& initial, const std::wstring& suffix)
{
    const HWND owner = BrowserOwner();
    if (!InitializeCom(owner))
        return false;

    flags_ &= ~(kDialogInitialized | kTakenFromEdit);
    edit_ = nullptr;
    Setup(initial, suffix);

    BROWSEINFOW info = {};
    info.hwndOwner = owner;
    info.pidlRoot = root_.get();
    info.pszDisplayName = nullptr;
    info.lpszTitle = title_.empty() ? nullptr : title_.c_str();
    info.ulFlags = suffix_.empty() ? kFlagsPlain : kFlagsWithSuffix;
    info.lpfn = Callback;
    info.lParam = reinterpret_cast<LPARAM>(this);

    UniqueIdList chosen(::SHBrowseForFolderW(&info));
    edit_ = nullptr;
    if (!chosen)
        return false;
    // A typed text the check accepted is the answer, whatever the tree shows.
    if (flags_ & kTakenFromEdit)
        return true;
    auto path = PathOf(chosen.get());
    if (!path)
        return false;
    current_ = *path;
    return true;
}

std::wstring FolderBrowser::WithoutSuffix() const
{
    return va::WithoutSuffix(current_, suffix_);
}

std::wstring FolderBrowser::Relative()
{
    auto base = RootBase();
    if (!base)
        return current_;
    return RelativeFolder(*base, current_).value_or(current_);
}

int CALLBACK FolderBrowser::Callback(HWND dialog, UINT message, LPARAM lParam, LPARAM data)
{
    auto* browser = reinterpret_cast<FolderBrowser*>(data);
    try {
        switch (message) {
        case BFFM_INITIALIZED:
            return browser->OnInitialized(dialog);
        case BFFM_SELCHANGED:
            return browser->OnSelectionChanged(dialog, reinterpret_cast<PCIDLIST_ABSOLUTE>(lParam));
        case BFFM_VALIDATEFAILEDW:
            return browser->OnValidateFailed(dialog, reinterpret_cast<const wchar_t*>(lParam));
        default:
            return 0;
        }
    } catch (...) {
        // Nothing may leave the shell's window procedure; an unchecked text
        // is never accepted.
        return message == BFFM_VALIDATEFAILEDW ? 1 : 0;
    }
}

int FolderBrowser::OnInitialized(HWND dialog)
{
    flags_ |= kDialogInitialized;

    // The nearest folder that exists, walking up from the proposal.
    std::optional<std::wstring> candidate = current_;
    if (auto base = RootBase())
        candidate = AppendPath(*base, current_);
    bool found = false;
    if (candidate && FitsShellPathBuffer(*candidate)) {
        while (!(found = ::PathIsDirectoryW(candidate->c_str()) != FALSE)) {
            if (!RemoveLastComponent(*candidate))
                break;
        }
    }
    if (found) {
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, reinterpret_cast<LPARAM>(candidate->c_str()));
        ::SendMessageW(dialog, BFFM_SETEXPANDED, TRUE, reinterpret_cast<LPARAM>(candidate->c_str()));
    }
    if (!suffix_.empty())
        ::EnumChildWindows(dialog, FindEdit, reinterpret_cast<LPARAM>(&edit_));
    if (found && edit_)
        ShowProposal();
    return 0;
}

int FolderBrowser::OnSelectionChanged(HWND dialog, PCIDLIST_ABSOLUTE selection)
{
    // The shell reports selections before it has finished initialising; the
    // suffix applies only to the user's.
    if (!(flags_ & kDialogInitialized))
        return 0;
    const auto path = PathOf(selection);
    if (path)
        current_ = Normalise(*path, suffix_, RootBase());
    if (edit_)
        ShowProposal();
    if (suffix_.empty())
        ::SendMessageW(dialog, BFFM_ENABLEOK, 0, path ? TRUE : FALSE);
    return 0;
}

int FolderBrowser::OnValidateFailed(HWND dialog, const wchar_t* text)
{
    const TypedFolder typed = CheckTypedFolder(text ? text : L"", RootBase(), ProcessFolderQualifier());
    // The installation folder's browser holds the typed folder to the rule
    // of the Folder page and the /dir switch.
    const bool refused = typed.error == 0 && !root_ && CheckInstallFolder(typed.folder) != FolderProblem::None;
    if (typed.error || refused) {
        ShowBrowserError(dialog, refused ? kTypedFolderBadPath : typed.error);
        return 1;
    }
    current_ = typed.folder;
    flags_ |= kTakenFromEdit;
    return 0;
}

void FolderBrowser::ShowProposal() const
{
    ::SendMessageW(edit_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(current_.c_str()));
    ::SendMessageW(edit_, EM_SETSEL, 0, -1);
}

std::wstring BrowseForFolder(std::wstring& initial, const std::wstring& suffix, const std::wstring& title)
{
    FolderBrowser browser(title);
    if (!browser.Run(initial, suffix))
        return {};
    initial = browser.WithoutSuffix();
    return browser.Current();
}

std::wstring BrowseForFolderRelative(std::wstring& initial, const std::wstring& suffix, const std::wstring& title,
                                     std::wstring* relative)
{
    FolderBrowser browser(title);
    UniqueIdList root;
    // Without the Programs folder the browser is simply not relative.
    ::SHGetSpecialFolderLocation(nullptr, CSIDL_COMMON_PROGRAMS, root.put());
    browser.SetRoot(std::move(root));
    if (!browser.Run(initial, suffix))
        return {};
    initial = browser.WithoutSuffix();
    if (relative)
        *relative = browser.Relative();
    return browser.Current();
}

}  // namespace va
