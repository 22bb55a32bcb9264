// packageinfo: locates the package in an installer file the way the installer does and prints
// the result: "locate <code> header <length>", then the failure's text when there is one.
#include "installer/package/PackageLocate.h"

#include <cstdio>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: packageinfo <installer file>\n");
        return 2;
    }
    const auto file = openPackageFile(argv[1]);
    if (!file) {
        std::printf("locate %d header 0\n", kLocateNotOpened);
        return 1;
    }
    ByteString header;
    const LocateResult result = locatePackageIn(*file, header);
    std::printf("locate %d header %u\n", result.code, header.length());
    if (result.message)
        std::printf("%s\n", result.message);
    return result.code == kLocateOk ? 0 : 1;
}
