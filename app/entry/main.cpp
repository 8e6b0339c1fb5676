// Program entry.  Until the wizard host exists this only reports what the
// start-up found, on standard output.

#include <windows.h>

#include <string>

#include "support/instance_counter.h"
#include "support/startup.h"
#include "support/system_checks.h"

namespace {

void Write(const std::wstring& text)
{
    HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
    if (!out || out == INVALID_HANDLE_VALUE)
        return;
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string utf8(size, '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), size,
                          nullptr, nullptr);
    DWORD written = 0;
    ::WriteFile(out, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int)
{
    std::wstring report = L"start-up complete\n";
    report += L"  processor supported: " + std::wstring(va::ProcessorSupported ? L"yes" : L"no") + L"\n";
    report += L"  application identity: " + va::ApplicationId() + L"\n";
    report += L"  running instances: " + std::to_wstring(va::CountInstances()) + L"\n";
    try {
        report += L"  administrator: " + std::wstring(va::IsAdministrator() ? L"yes" : L"no") + L"\n";
    } catch (const std::exception&) {
        report += L"  administrator: the rights query failed\n";
    }
    Write(report);
    return 0;
}
