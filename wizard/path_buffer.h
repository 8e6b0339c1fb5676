#pragma once
// A MAX_PATH buffer for the shell's path functions, which never write more.

#include <windows.h>

#include <string>

namespace va {

class PathBuffer {
public:
    // False, leaving the buffer empty, when `text` and its terminator do not fit.
    bool Assign(const std::wstring& text) noexcept
    {
        if (text.size() >= MAX_PATH || text.find(L'\0') != std::wstring::npos) {
            buffer_[0] = L'\0';
            return false;
        }
        text.copy(buffer_, text.size());
        buffer_[text.size()] = L'\0';
        return true;
    }

    wchar_t* get() noexcept { return buffer_; }
    const wchar_t* get() const noexcept { return buffer_; }
    std::wstring str() const { return buffer_; }

private:
    wchar_t buffer_[MAX_PATH] = {};
};

}  // namespace va
