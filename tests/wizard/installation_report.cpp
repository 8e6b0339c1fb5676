#include "tests/wizard/installation_report.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <vector>

#include "support/handles.h"
#include "tests/common/file_bytes.h"
#include "tests/common/installed_product.h"
#include "tests/common/scratch_registry.h"

namespace va::test {
namespace {

constexpr ULONGLONG kThisVersion = 0x0007000800070001ull;  // 7.8.7.1

std::optional<std::wstring> ProgramPath()
{
    wchar_t value[MAX_PATH + 1] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    if (::RegGetValueW(HKEY_LOCAL_MACHINE, kTestMakerKey, kTestPathValue, RRF_RT_REG_SZ, nullptr, value, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::wstring(value);
}

std::optional<ULONGLONG> FileVersion(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> data(size);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, data.data()) ||
        !::VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
        return std::nullopt;
    return (static_cast<ULONGLONG>(fixed->dwFileVersionMS) << 32) | fixed->dwFileVersionLS;
}

std::wstring ValueText(DWORD type, const std::vector<BYTE>& data)
{
    if (type == REG_DWORD && data.size() >= sizeof(DWORD))
        return std::to_wstring(*reinterpret_cast<const DWORD*>(data.data()));
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
        std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(wchar_t));
        while (!text.empty() && text.back() == L'\0')
            text.pop_back();
        return L"\"" + text + L"\"";
    }
    return L"(type " + std::to_wstring(type) + L", " + std::to_wstring(data.size()) + L" bytes)";
}

std::wstring UninstallKeyValues()
{
    UniqueKey key;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kTestUninstallKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS)
        return L"  (no uninstall key)\n";
    std::wstring text;
    for (DWORD index = 0;; ++index) {
        wchar_t name[256] = {};
        DWORD nameLength = 256;
        DWORD type = 0;
        DWORD size = 0;
        if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(size);
        nameLength = 256;
        if (::RegEnumValueW(key.get(), index, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS)
            break;
        data.resize(size);
        text += L"  " + std::wstring(name) + L" = " + ValueText(type, data) + L"\n";
    }
    return text;
}

// The shortcuts in a folder, one line each.
std::wstring LinksIn(const std::wstring& folder)
{
    std::wstring text;
    WIN32_FIND_DATAW found;
    HANDLE find = ::FindFirstFileW((folder + L"\\*.lnk").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return text;
    do
        text += L"  " + folder + L"\\" + found.cFileName + L"\n";
    while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return text;
}

// The first `count` lines of a UTF-16 log with its byte-order mark.
std::wstring LogHead(const std::wstring& path, int count)
{
    const std::string bytes = FileBytes(path);
    if (bytes.size() < 2)
        return L"  (no " + path + L")\n";
    std::wstring all(reinterpret_cast<const wchar_t*>(bytes.data() + 2), (bytes.size() - 2) / sizeof(wchar_t));
    std::wstring text;
    size_t start = 0;
    for (int line = 0; line < count && start < all.size(); ++line) {
        size_t end = all.find(L"\r\n", start);
        if (end == std::wstring::npos)
            end = all.size();
        text += L"  " + all.substr(start, end - start) + L"\n";
        start = end + 2;
    }
    return text;
}

}  // namespace

std::wstring InstalledState()
{
    const std::optional<std::wstring> program = ProgramPath();
    const std::optional<ULONGLONG> version = program ? FileVersion(*program) : std::nullopt;
    if (!version)
        return L"fresh installation";
    if (*version == kThisVersion)
        return L"reinstallation";
    return *version < kThisVersion ? L"update" : L"newer version installed";
}

std::wstring InstallationReport(int logLines)
{
    std::wstring text;
    const std::optional<std::wstring> program = ProgramPath();
    if (!program)
        return L"the product is not installed (no program path)\n";
    const std::wstring folder = program->substr(0, program->find_last_of(L'\\'));
    text += L"installation folder: " + folder + L"\n";
    text += L"program: " + *program + L"\n";
    const ProductPlaces places;
    text += L"shortcuts:\n";
    // The Start-menu folder is the one the log's header names.
    const std::wstring head = LogHead(folder + L"\\Uninstall.ulog", 5);
    const std::wstring mark = L"Shortcut Path : ";
    const size_t at = head.find(mark);
    if (at != std::wstring::npos) {
        const size_t end = head.find(L'\n', at);
        text += LinksIn(head.substr(at + mark.size(), end - at - mark.size()));
    }
    for (const std::wstring& link : places.desktopLinks) {
        if (::GetFileAttributesW(link.c_str()) != INVALID_FILE_ATTRIBUTES)
            text += L"  " + link + L"\n";
    }
    text += L"uninstall key HKEY_LOCAL_MACHINE\\" + std::wstring(kTestUninstallKey) + L":\n";
    text += UninstallKeyValues();
    text += L"first lines of " + folder + L"\\Uninstall.ulog:\n";
    text += LogHead(folder + L"\\Uninstall.ulog", logLines);
    return text;
}

}  // namespace va::test
