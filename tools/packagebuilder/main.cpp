// dravell-package: writes an installer carrying an install package, and the volume files that
// continue its packed files beside it. A package whose language set leaves empty a text that its
// pages and options can show is refused, with the entry numbers.
//   dravell-package <installer program> <description.json> <output file>
#include "LanguageSetCheck.h"
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
        const std::vector<EmptyLanguageTexts> empty = emptyLanguageTexts(description);
        for (const EmptyLanguageTexts& set : empty)
            std::fprintf(stderr, "dravell-package: %s\n", emptyLanguageTextsMessage(set).c_str());
        if (!empty.empty())
            return 1;
        writePackageFiles(argv[3], buildPackage(readWholeFile(argv[1]), description));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "dravell-package: %s\n", e.what());
        return 1;
    }
    return 0;
}
