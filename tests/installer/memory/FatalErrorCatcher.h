#pragma once
// Installs a fatal-error handler that throws FatalErrorRaised, so a test sees the installer's
// fatal exit as an exception; the previous handler comes back at the end of the scope.
#include "installer/memory/FatalError.h"

#include <string>

struct FatalErrorRaised {
    std::string text;
};

class FatalErrorCatcher {
public:
    FatalErrorCatcher() : previous_(setFatalErrorHandler(&raise)) {}
    ~FatalErrorCatcher() { setFatalErrorHandler(previous_); }
    FatalErrorCatcher(const FatalErrorCatcher&) = delete;
    FatalErrorCatcher& operator=(const FatalErrorCatcher&) = delete;

private:
    static void raise(const char* text) { throw FatalErrorRaised{text ? text : "(null)"}; }
    FatalErrorHandler previous_;
};
