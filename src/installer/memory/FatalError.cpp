#include "installer/memory/FatalError.h"

#include <cstdlib>

const char* const kOutOfMemoryText = "Out of memory";

namespace {
FatalErrorHandler currentHandler = nullptr;
}

FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler)
{
    FatalErrorHandler previous = currentHandler;
    currentHandler = handler;
    return previous;
}

void fatalError(const char* text)
{
    if (currentHandler)
        currentHandler(text);
    // A handler that returns has not ended the installer: do it here.
    defaultFatalErrorHandler(text);
}
