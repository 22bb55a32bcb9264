// dravell-package: writes an installer carrying an install package, and the volume files that
// continue its packed files beside it.
//   dravell-package <installer program> <description.json> <output file>
#include "PackageBuilder.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: dravell-package <installer program> <description.json> <output file>\n");
        return 2;
    }
    try {
        std::ifstream descriptionFile(argv[2]);
        if (!descriptionFile)
            throw std::runtime_error(std::string("cannot open '") + argv[2] + "'");
        nlohmann::json description;
        try {
            description = nlohmann::json::parse(descriptionFile);
        } catch (const nlohmann::json::exception& e) {
            throw std::runtime_error(std::string("'") + argv[2] + "' is not valid JSON: " + e.what());
        }
        writePackageFiles(argv[3], buildPackage(readWholeFile(argv[1]), description));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dravell-package: %s\n", e.what());
        return 1;
    }
    return 0;
}
