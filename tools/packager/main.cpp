// The package tool of the installer's build:
//   trelvane-packager build MANIFEST OUTPUT [--source-dir DIR]
//   trelvane-packager list PACKAGE

#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "tools/packager/manifest.h"
#include "tools/packager/package_lister.h"
#include "tools/packager/package_writer.h"

namespace {

int usage()
{
    std::cerr << "usage:\n"
                 "  trelvane-packager build MANIFEST OUTPUT [--source-dir DIR]\n"
                 "      packs the files MANIFEST lists (sources relative to DIR, by default the\n"
                 "      manifest's folder) into the package OUTPUT\n"
                 "  trelvane-packager list PACKAGE\n"
                 "      shows the table of PACKAGE and checks every entry against its CRC-32\n";
    return 2;
}

int build(int argc, char** argv)
{
    if (argc != 4 && !(argc == 6 && std::strcmp(argv[4], "--source-dir") == 0))
        return usage();
    const std::filesystem::path manifest = argv[2];
    const std::filesystem::path output = argv[3];
    const std::filesystem::path sources = argc == 6 ? std::filesystem::path(argv[5]) : manifest.parent_path();
    const auto entries = packager::read_manifest(manifest, sources.empty() ? "." : sources);
    const packager::PackResult r = packager::write_package(entries, output, &std::cerr);
    std::cout << output.string() << ": " << r.entries << " entries, " << r.decompressed << " bytes, "
              << r.compressed << " compressed\n";
    return 0;
}

int list(int argc, char** argv)
{
    if (argc != 3)
        return usage();
    const packager::Listing listing = packager::list_package(argv[2], &std::cerr);
    packager::print_listing(listing, std::cout);
    return listing.ok() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    try {
        if (argc >= 2 && std::strcmp(argv[1], "build") == 0)
            return build(argc, argv);
        if (argc >= 2 && std::strcmp(argv[1], "list") == 0)
            return list(argc, argv);
        return usage();
    } catch (const std::exception& e) {
        std::cerr << "trelvane-packager: " << e.what() << "\n";
        return 1;
    }
}
