// Stand-in for the product's uninstaller: it only says what it is and
// changes nothing on the machine.

#include <windows.h>

#include <string>

namespace {

std::wstring LoadText(HINSTANCE instance, UINT id)
{
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(instance, id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 ? std::wstring(text, length) : std::wstring();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int)
{
    ::MessageBoxW(nullptr, LoadText(instance, 2).c_str(), LoadText(instance, 1).c_str(),
                  MB_OK | MB_ICONINFORMATION);
    return 0;
}
