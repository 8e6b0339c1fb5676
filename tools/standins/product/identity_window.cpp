#include "identity_window.h"

#include <string>

#include "resource_ids.h"

namespace standin {
namespace {

std::wstring LoadText(HINSTANCE instance, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE: {
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        RECT client{};
        ::GetClientRect(window, &client);
        const std::wstring text = LoadText(create->hInstance, IDS_IDENTITY);
        HWND label = ::CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFT, 12,
                                       12, client.right - 24, client.bottom - 24, window, nullptr,
                                       create->hInstance, nullptr);
        ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(::GetStockObject(DEFAULT_GUI_FONT)),
                       FALSE);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
}

}  // namespace

int RunIdentityWindow(HINSTANCE instance, int show)
{
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = WindowProcedure;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = kWindowClass;
    if (!::RegisterClassExW(&windowClass))
        return 1;

    const std::wstring title = LoadText(instance, IDS_WINDOW_TITLE);
    HWND window = ::CreateWindowExW(0, kWindowClass, title.c_str(),
                                    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                    CW_USEDEFAULT, CW_USEDEFAULT, 580, 150, nullptr, nullptr, instance,
                                    nullptr);
    if (!window)
        return 1;
    ::ShowWindow(window, show);
    ::UpdateWindow(window);

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace standin
