#include "support/resource_string.h"

namespace va {

std::wstring LoadResourceString(HMODULE module, UINT id)
{
    if (!module)
        module = ::GetModuleHandleW(nullptr);
    // A zero buffer size asks for a pointer into the resource itself, which
    // avoids guessing a buffer size.
    const wchar_t* text = nullptr;
    const int length = ::LoadStringW(module, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    return std::wstring(text, static_cast<size_t>(length));
}

}  // namespace va
