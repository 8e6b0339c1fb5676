#pragma once
// What the start-up tests share: the stand-in installed programs built
// beside the tests, and the product's registry keys cleared around a test.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/common/scratch_registry.h"

namespace va::test {

inline std::wstring TestBinFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring own(path, length);
    return own.substr(0, own.find_last_of(L'\\'));
}

// "7_8_7_1", or "unversioned".
inline std::wstring FixtureProgram(const std::wstring& tag)
{
    return TestBinFolder() + L"\\fixture_program_" + tag + L".exe";
}

inline std::wstring InstallerProgram()
{
    return TestBinFolder() + L"\\..\\bin\\InstallTrelvane7.08g.exe";
}

class ProductKeysCleared : public testing::Test {
protected:
    void SetUp() override { RemoveProductKeys(); }
    void TearDown() override { RemoveProductKeys(); }
};

}  // namespace va::test
