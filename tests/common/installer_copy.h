#pragma once
// Copies of the installer that carry another package: the embedded package
// (resource type 260, identifier 134) is read from the installer's file and
// replaced in a copy with UpdateResource, so that a test can run the real
// installer on a damaged, empty or altered package.  The package is bzip2
// data over the table and the files' bytes; the damage helpers keep its
// shape and break one thing each.

#include <windows.h>
#include <bzlib.h>

#include <optional>
#include <string>

#include "support/handles.h"
#include "tests/common/package_fixture.h"

namespace va::test {

inline constexpr int kPackageType = 260;
inline constexpr int kPackageId = 134;

// The package the installer file carries; nothing when it has none.
inline std::optional<std::string> EmbeddedPackage(const std::wstring& installer)
{
    UniqueModule module(::LoadLibraryExW(installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    if (!module)
        return std::nullopt;
    HRSRC found = ::FindResourceW(module.get(), MAKEINTRESOURCEW(kPackageId), MAKEINTRESOURCEW(kPackageType));
    HGLOBAL loaded = found ? ::LoadResource(module.get(), found) : nullptr;
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes)
        return std::nullopt;
    return std::string(static_cast<const char*>(bytes), ::SizeofResource(module.get(), found));
}

inline BOOL CALLBACK FirstResourceLanguage(HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context)
{
    *reinterpret_cast<WORD*>(context) = language;
    return FALSE;
}

// The language the installer file gives its package, so that the copy's
// package replaces it rather than standing beside it.
inline WORD PackageLanguage(const std::wstring& installer)
{
    UniqueModule module(::LoadLibraryExW(installer.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    WORD language = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);
    if (module)
        ::EnumResourceLanguagesW(module.get(), MAKEINTRESOURCEW(kPackageType), MAKEINTRESOURCEW(kPackageId),
                                 FirstResourceLanguage, reinterpret_cast<LONG_PTR>(&language));
    return language;
}

// Writes `copy`: the installer with `package` as its package; an empty
// package asks for an empty resource.  False when the copy could not be
// made that way (some systems refuse an empty resource).
inline bool CopyInstallerWithPackage(const std::wstring& installer, const std::wstring& copy,
                                     const std::string& package)
{
    const WORD language = PackageLanguage(installer);
    if (!::CopyFileW(installer.c_str(), copy.c_str(), FALSE))
        return false;
    HANDLE update = ::BeginUpdateResourceW(copy.c_str(), FALSE);
    if (!update)
        return false;
    static char none = 0;  // a pointer with no byte: an empty resource, not a deleted one
    void* data = package.empty() ? &none : const_cast<char*>(package.data());
    const bool replaced = ::UpdateResourceW(update, MAKEINTRESOURCEW(kPackageType), MAKEINTRESOURCEW(kPackageId),
                                            language, data, static_cast<DWORD>(package.size())) != FALSE;
    return ::EndUpdateResourceW(update, replaced ? FALSE : TRUE) != FALSE && replaced;
}

// The decompressed package (table and files); empty when it is not bzip2.
inline std::string Decompress(const std::string& package)
{
    bz_stream stream{};
    if (BZ2_bzDecompressInit(&stream, 0, 0) != BZ_OK)
        return {};
    std::string out;
    char buffer[1 << 16];
    stream.next_in = const_cast<char*>(package.data());
    stream.avail_in = static_cast<unsigned>(package.size());
    int rc = BZ_OK;
    while (rc == BZ_OK) {
        stream.next_out = buffer;
        stream.avail_out = sizeof buffer;
        rc = BZ2_bzDecompress(&stream);
        out.append(buffer, sizeof buffer - stream.avail_out);
    }
    BZ2_bzDecompressEnd(&stream);
    return rc == BZ_STREAM_END ? out : std::string();
}

// The same package whose last byte, the end of the last file, differs from
// what its table's CRC-32 says: every file before it is placed, then that
// one fails its check.
inline std::string WithLastFileCorrupted(const std::string& package)
{
    std::string bytes = Decompress(package);
    if (bytes.empty())
        return {};
    bytes.back() = static_cast<char>(bytes.back() ^ 0x5A);
    return package_test::Compress(bytes);
}

// A well-formed package that holds no byte at all: one bzip2 stream of
// nothing.
inline std::string PackageOfNothing()
{
    return package_test::Compress(std::string());
}

// The same compressed bytes with one byte in the middle changed: the bzip2
// data no longer checks out.
inline std::string WithStreamDamaged(std::string package)
{
    if (package.size() < 64)
        return package;
    package[package.size() / 2] = static_cast<char>(package[package.size() / 2] ^ 0xFF);
    return package;
}

}  // namespace va::test
