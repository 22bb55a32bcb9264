#include "installer/system/ErrorBox.h"

#include <cstdio>

void defaultErrorBox(const char* text)
{
    std::fprintf(stderr, "%s\n", text ? text : "Out of memory");
}
