#include "identity/version_info.h"

#include <cstdio>

namespace va {

const VersionInfo& VersionInfo::OfRunningProgram()
{
    static const VersionInfo* own = [] {
        auto* info = new VersionInfo();
        HMODULE module = ::GetModuleHandleW(nullptr);
        if (HRSRC found = ::FindResourceW(module, MAKEINTRESOURCEW(1), RT_VERSION)) {
            HGLOBAL loaded = ::LoadResource(module, found);
            const DWORD size = ::SizeofResource(module, found);
            const void* data = loaded ? ::LockResource(loaded) : nullptr;
            if (data && size) {
                const auto* bytes = static_cast<const std::uint8_t*>(data);
                info->block_.assign(bytes, bytes + size);
                info->Parse();
            }
        }
        return info;
    }();
    return *own;
}

VersionInfo::VersionInfo(const std::wstring& path)
{
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (size == 0)
        return;
    block_.resize(size);
    if (!::GetFileVersionInfoW(path.c_str(), 0, size, block_.data())) {
        block_.clear();
        return;
    }
    Parse();
}

VersionInfo::VersionInfo(std::vector<std::uint8_t> block) : block_(std::move(block))
{
    if (!block_.empty())
        Parse();
}

void VersionInfo::Parse()
{
    void* value = nullptr;
    UINT length = 0;
    if (::VerQueryValueW(block_.data(), L"\\", &value, &length) && value &&
        length >= sizeof(VS_FIXEDFILEINFO))
        fixed_ = static_cast<const VS_FIXEDFILEINFO*>(value);

    value = nullptr;
    length = 0;
    if (!::VerQueryValueW(block_.data(), L"\\VarFileInfo\\Translation", &value, &length) || !value)
        return;
    const auto* pairs = static_cast<const WORD*>(value);
    for (UINT i = 0; i < length / 4; ++i) {
        const WORD language = pairs[2 * i];
        const WORD codePage = pairs[2 * i + 1];
        if (codePage != 1200)
            continue;
        wchar_t key[9];
        std::swprintf(key, 9, L"%04hx%04hx", language, codePage);
        translations_.emplace_back(key);
    }
}

ProductVersion VersionInfo::FileVersion() const noexcept
{
    return fixed_ ? PackVersion(fixed_->dwFileVersionMS, fixed_->dwFileVersionLS) : 0;
}

std::wstring VersionInfo::StringValue(const std::wstring& name) const
{
    if (translations_.empty())
        return {};
    const std::wstring path = L"\\StringFileInfo\\" + translations_.front() + L"\\" + name;
    void* value = nullptr;
    UINT length = 0;
    // VerQueryValueW takes a non-const block; it does not write to it.
    auto* block = const_cast<std::uint8_t*>(block_.data());
    if (!::VerQueryValueW(block, path.c_str(), &value, &length) || !value)
        return {};
    std::wstring text(static_cast<const wchar_t*>(value), length);
    if (!text.empty() && text.back() == L'\0')
        text.pop_back();
    return text;
}

}  // namespace va
