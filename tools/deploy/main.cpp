// trelvane-deploy-manifests OUT-DIR SHA256 URL
// Writes the package managers' descriptions of the built installer into
// OUT-DIR (installer/core/deployment_manifests.h).

#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "installer/core/deployment_manifests.h"

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::cerr << "usage: trelvane-deploy-manifests OUT-DIR SHA256 URL\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        for (const va::DeploymentFile& file : va::DeploymentManifests({argv[2], argv[3]})) {
            std::ofstream stream(out / file.name, std::ios::binary | std::ios::trunc);
            stream << file.text;
            if (!stream.flush()) {
                std::cerr << "trelvane-deploy-manifests: cannot write " << (out / file.name).string() << "\n";
                return 1;
            }
        }
    } catch (const std::exception& e) {
        std::cerr << "trelvane-deploy-manifests: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
