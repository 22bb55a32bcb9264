#include "installer/memory/FatalError.h"

#include <cstdio>
#include <cstdlib>

void defaultFatalErrorHandler(const char* text)
{
    std::fprintf(stderr, "%s\n", text ? text : kOutOfMemoryText);
    std::fflush(stderr);
    std::_Exit(0);
}
