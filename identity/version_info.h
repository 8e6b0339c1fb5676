#pragma once
// Reader of Windows version resources: of the running program or of a file.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "identity/core/product_version.h"

namespace va {

class VersionInfo {
public:
    // The running program's own resource, located once per process.
    static const VersionInfo& OfRunningProgram();
    // A file's resource; a missing file or resource gives an empty block.
    explicit VersionInfo(const std::wstring& path);
    // A block already in memory (copied).
    explicit VersionInfo(std::vector<std::uint8_t> block);

    VersionInfo(const VersionInfo&) = delete;
    VersionInfo& operator=(const VersionInfo&) = delete;

    bool HasFixedBlock() const noexcept { return fixed_ != nullptr; }
    ProductVersion FileVersion() const noexcept;
    const VS_FIXEDFILEINFO* FixedBlock() const noexcept { return fixed_; }
    // The value under the first UTF-16 translation; empty when none.
    std::wstring StringValue(const std::wstring& name) const;
    const std::vector<std::wstring>& TranslationKeys() const noexcept { return translations_; }

    // The text shown for the program's version: "ProductName", " " and
    // "ProductVersion", then the pre-release, private and debug rules, for an
    // interface that is, or is not, French (VersionDisplayText of
    // languages/version_text.h: for the current interface language).
    std::wstring DisplayText(bool frenchInterface) const;

private:
    VersionInfo() = default;
    void Parse();

    std::vector<std::uint8_t> block_;
    const VS_FIXEDFILEINFO* fixed_ = nullptr;
    std::vector<std::wstring> translations_;
};

}  // namespace va
