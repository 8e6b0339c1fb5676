#pragma once
// The real installer driven through a whole installation: the wizard
// started on a machine without the product, the quick route to the Install
// page, Install pressed, and the page, the files and the registry read
// afterwards.  The product is removed before and after each test.

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "tests/common/installed_product.h"
#include "tests/wizard/wizard_fixture.h"

namespace va::test {

inline constexpr unsigned kFrenchBlock = 1000;

// The folders of this user's temporary folder that runs of the installer
// name ("vantaro_{...}").
inline std::set<std::wstring> RunFolders()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    std::set<std::wstring> found;
    WIN32_FIND_DATAW data;
    HANDLE find = ::FindFirstFileW((std::wstring(temp) + L"vantaro_{*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do
            found.insert(data.cFileName);
        while (::FindNextFileW(find, &data));
        ::FindClose(find);
    }
    return found;
}

inline std::wstring TemporaryPath()
{
    wchar_t temp[MAX_PATH + 1] = {};
    ::GetTempPathW(MAX_PATH + 1, temp);
    return temp;
}

inline bool FileExists(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

inline bool IsReadOnly(const std::wstring& path)
{
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY);
}

// The lines of a text, CR LF apart; the text after the last break is the
// last line (empty when the text ends with a break).
inline std::vector<std::wstring> Lines(const std::wstring& text)
{
    std::vector<std::wstring> lines;
    size_t start = 0;
    for (size_t at; (at = text.find(L"\r\n", start)) != std::wstring::npos; start = at + 2)
        lines.push_back(text.substr(start, at - start));
    lines.push_back(text.substr(start));
    return lines;
}

// "Copying File  %1..." for `path`, quoted when it holds a space.
inline std::wstring CopyingLine(const std::wstring& path)
{
    const std::wstring shown = path.find(L' ') != std::wstring::npos ? L"\"" + path + L"\"" : path;
    return Fill(Text(kEnglishBlock, 115), {shown});
}

inline std::wstring StepLine(unsigned block, unsigned message, bool ok)
{
    return Text(block, message) + Text(kEnglishBlock, ok ? 11 : 12);
}

inline std::wstring FailedStatus(const std::wstring& code)
{
    return Fill(Text(kEnglishBlock, 121), {code});
}

inline std::wstring DoneStatus()
{
    return Fill(Text(kEnglishBlock, 106), {Text(kEnglishBlock, 6)});
}

// A value of HKEY_LOCAL_MACHINE in the 32-bit view, where the installer
// writes; nothing when it is not there.
inline std::optional<std::wstring> MachineText(const std::wstring& key, const std::wstring& name)
{
    UniqueKey opened;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_QUERY_VALUE | KEY_WOW64_32KEY, opened.put()) !=
        ERROR_SUCCESS)
        return std::nullopt;
    wchar_t value[1024] = {};
    DWORD size = sizeof value - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegQueryValueExW(opened.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(value), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ)
        return std::nullopt;
    return std::wstring(value);
}

inline bool MachineKeyExists(const std::wstring& key)
{
    UniqueKey opened;
    return ::RegOpenKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, KEY_READ | KEY_WOW64_32KEY, opened.put()) ==
           ERROR_SUCCESS;
}

// A value the stand-ins record under HKEY_CURRENT_USER Software\Vantaro\Test.
inline DWORD StandinCount(const std::wstring& standin, const std::wstring& name)
{
    DWORD value = 0;
    DWORD size = sizeof value;
    if (::RegGetValueW(HKEY_CURRENT_USER, (L"Software\\Vantaro\\Test\\" + standin).c_str(), name.c_str(),
                       RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS)
        return 0;
    return value;
}

class Installation : public InstallerWizard {
protected:
    void SetUp() override
    {
        InstallerWizard::SetUp();
        if (IsSkipped())
            return;
        RemoveInstalledProduct();
        runFoldersBefore_ = RunFolders();
    }

    void TearDown() override
    {
        InstallerWizard::TearDown();
        RemoveInstalledProduct();
    }

    // Starts the installer and takes the quick route to the Install page.
    bool ReachInstallPage(const std::wstring& program = InstallerProgram())
    {
        if (!Start(L"", program))
            return false;
        return Press(IDOK, 1) && Press(IDOK, 4);
    }

    // Presses Install and waits for the end of the run.
    bool Install() { return RunInstallation(host_); }

    HWND InstallPage() const { return PageOf(host_, 4); }
    std::wstring Status() const { return ControlText(InstallPage(), IDC_STATUS); }
    std::vector<std::wstring> ProgressLines() const { return Lines(ControlText(InstallPage(), IDC_PROGRESS_TEXT)); }
    HWND Bar() const { return ::GetDlgItem(InstallPage(), IDC_PROGRESS); }
    int BarPosition() const { return static_cast<int>(::SendMessageW(Bar(), PBM_GETPOS, 0, 0)); }

    // The lines of the last run: after the last line made only of dashes.
    std::vector<std::wstring> RunLines() const
    {
        const std::vector<std::wstring> lines = ProgressLines();
        size_t dash = lines.size();
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!lines[i].empty() && lines[i].find_first_not_of(L'-') == std::wstring::npos)
                dash = i;
        }
        return dash == lines.size() ? std::vector<std::wstring>()
                                    : std::vector<std::wstring>(lines.begin() + static_cast<long>(dash) + 1, lines.end());
    }

    // A complete quick installation; the installer is left on the Install
    // page after it.
    void InstallQuickly()
    {
        ASSERT_TRUE(ReachInstallPage());
        ASSERT_TRUE(Install());
        ASSERT_EQ(Status(), DoneStatus());
    }

    // The installer ends (Exit, with the question answered when it comes).
    void Finish() { ExitWizard(); }

    std::set<std::wstring> runFoldersBefore_;
    const ProductPlaces places_;
};

}  // namespace va::test
