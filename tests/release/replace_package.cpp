// Writes a copy of the installer that carries another package, for the
// release checks that run on the host (they have no UpdateResource).
//
//   replace_package INSTALLER COPY PACKAGE

#include <fstream>
#include <iostream>
#include <iterator>
#include <string>

#include "tests/common/installer_copy.h"

namespace {

std::wstring Wide(const char* text)
{
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    std::wstring wide(size > 0 ? static_cast<size_t>(size) : 1u, L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text, -1, wide.data(), size);
    wide.resize(wide.size() - 1);
    return wide;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: replace_package INSTALLER COPY PACKAGE\n";
        return 2;
    }
    std::ifstream in(argv[3], std::ios::binary);
    const std::string package{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (!in.good() && !in.eof()) {
        std::cerr << "cannot read " << argv[3] << "\n";
        return 1;
    }
    if (package.empty()) {
        std::cerr << argv[3] << " is empty\n";
        return 1;
    }
    if (!va::test::CopyInstallerWithPackage(Wide(argv[1]), Wide(argv[2]), package)) {
        std::cerr << "cannot write " << argv[2] << " (error " << ::GetLastError() << ")\n";
        return 1;
    }
    return 0;
}
