#include "engine/install_progress.h"

#include <windows.h>

#include "support/handles.h"

namespace va {

std::wstring FillInsert(const std::wstring& pattern, const std::wstring& insert)
{
    // A translation that names a later insert than %1 must not make the
    // formatter read past the arguments: every other insert is empty.
    DWORD_PTR arguments[99];
    for (DWORD_PTR& argument : arguments)
        argument = reinterpret_cast<DWORD_PTR>(L"");
    arguments[0] = reinterpret_cast<DWORD_PTR>(insert.c_str());
    wchar_t* buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_ARGUMENT_ARRAY,
        pattern.c_str(), 0, 0, reinterpret_cast<wchar_t*>(&buffer), 0,
        reinterpret_cast<va_list*>(arguments));
    UniqueLocal owner(buffer);
    if (length == 0)
        return pattern;
    return std::wstring(buffer, length);
}

void AppendStepResult(InstallProgress& progress, const MessageTexts& texts, bool succeeded)
{
    progress.AppendProgressText(texts.Message(succeeded ? kMessageOk : kMessageFailed) + L"\r\n");
}

}  // namespace va
