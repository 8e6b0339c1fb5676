// The package tool of the installer's build:
//   trelvane-packager build MANIFEST OUTPUT [--source-dir DIR] [--depfile FILE]
//   trelvane-packager list PACKAGE

#include <cstring>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "tools/packager/manifest.h"
#include "tools/packager/package_lister.h"
#include "tools/packager/package_writer.h"

namespace {

int usage()
{
    std::cerr << "usage:\n"
                 "  trelvane-packager build MANIFEST OUTPUT [--source-dir DIR] [--depfile FILE]\n"
                 "      packs the files MANIFEST lists (sources relative to DIR, by default the\n"
                 "      manifest's folder) into the package OUTPUT; FILE receives the sources\n"
                 "      as a make rule, for the build to repack when one changes\n"
                 "  trelvane-packager list PACKAGE\n"
                 "      shows the table of PACKAGE and checks every entry against its CRC-32\n";
    return 2;
}

// Make syntax: spaces and '#' escaped, '$' doubled.
std::string make_escaped(const std::string& path)
{
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#')
            out += '\\';
        if (c == '$')
            out += '$';
        out += c;
    }
    return out;
}

int build(int argc, char** argv)
{
    if (argc < 4 || argc % 2 != 0)
        return usage();
    const std::filesystem::path manifest = argv[2];
    const std::filesystem::path output = argv[3];
    std::filesystem::path sources = manifest.parent_path();
    std::filesystem::path depfile;
    for (int i = 4; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--source-dir") == 0)
            sources = argv[i + 1];
        else if (std::strcmp(argv[i], "--depfile") == 0)
            depfile = argv[i + 1];
        else
            return usage();
    }
    const auto entries = packager::read_manifest(manifest, sources.empty() ? "." : sources);
    const packager::PackResult r = packager::write_package(entries, output, &std::cerr);
    if (!depfile.empty()) {
        std::ofstream rule(depfile, std::ios::trunc);
        rule << make_escaped(output.string()) << ":";
        for (const packager::ManifestEntry& e : entries)
            rule << " \\\n  " << make_escaped(std::filesystem::absolute(e.file).string());
        rule << "\n";
        if (!rule)
            throw std::runtime_error("cannot write '" + depfile.string() + "'");
    }
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
