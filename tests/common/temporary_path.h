#pragma once
// Points this process's temporary folder (TMP) somewhere else for a test's
// time, and puts the previous value back afterwards.

#include <windows.h>

#include <string>

namespace va::test {

class TemporaryPathOverride {
public:
    // False from Applied() when the system does not take the path from TMP
    // exactly as given; the caller skips then.
    explicit TemporaryPathOverride(const std::wstring& folder)
    {
        hadValue_ = ::GetEnvironmentVariableW(L"TMP", saved_, MAX_PATH + 1) != 0;
        const std::wstring withSeparator = folder.back() == L'\\' ? folder : folder + L"\\";
        if (!::SetEnvironmentVariableW(L"TMP", withSeparator.c_str()))
            return;
        wchar_t seen[MAX_PATH + 1] = {};
        applied_ = ::GetTempPathW(MAX_PATH + 1, seen) == withSeparator.size() && withSeparator == seen;
    }
    ~TemporaryPathOverride() { ::SetEnvironmentVariableW(L"TMP", hadValue_ ? saved_ : nullptr); }
    TemporaryPathOverride(const TemporaryPathOverride&) = delete;
    TemporaryPathOverride& operator=(const TemporaryPathOverride&) = delete;

    bool Applied() const { return applied_; }

private:
    wchar_t saved_[MAX_PATH + 1] = {};
    bool hadValue_ = false;
    bool applied_ = false;
};

// A folder below `parent` whose path with its separator is `length`
// characters long, made on disk.
inline std::wstring MakeFolderOfLength(const std::wstring& parent, std::size_t length)
{
    const std::wstring folder = parent + L"\\" + std::wstring(length - 2 - parent.size(), L'L');
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

}  // namespace va::test
