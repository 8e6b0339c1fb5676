// Runs one folder browser for the tests, which drive it from their own
// process:
//   browser_pilot plain|relative INITIAL SUFFIX TITLE OUTPUT
// and writes what the caller would see to OUTPUT (UTF-8), one line each:
// the result, the initial folder afterwards and, for the relative browser,
// the relative folder ("-" when it was left alone).

#include <windows.h>

#include <string>

#include "support/handles.h"
#include "wizard/folder_browser.h"

namespace {

std::string Utf8(const std::wstring& text)
{
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), bytes.data(), size, nullptr,
                          nullptr);
    return bytes;
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 6)
        return 2;
    const std::wstring mode = argv[1];
    std::wstring initial = argv[2];
    std::wstring relative = L"-";
    const std::wstring result = mode == L"relative"
                                    ? va::BrowseForFolderRelative(initial, argv[3], argv[4], &relative)
                                    : va::BrowseForFolder(initial, argv[3], argv[4]);

    const std::string lines = Utf8(result + L"\n" + initial + L"\n" + relative + L"\n");
    va::UniqueFile file(
        ::CreateFileW(argv[5], GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !::WriteFile(file.get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr))
        return 3;
    return 0;
}
