// kv-default-layout <file.kbl>: writes the built-in computer-key layout as a layout file.
#include "DefaultLayout.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: kv-default-layout <file.kbl>\n");
        return 2;
    }
    try {
        kv::WriteDefaultLayout(argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kv-default-layout: cannot write %s: %s\n", argv[1], error.what());
        return 1;
    }
    return 0;
}
