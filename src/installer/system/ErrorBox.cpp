#include "installer/system/ErrorBox.h"

namespace {
ErrorBoxFunction currentErrorBox = nullptr;
}

void showErrorBox(const char* text)
{
    if (currentErrorBox)
        currentErrorBox(text);
    else
        defaultErrorBox(text);
}

ErrorBoxFunction setErrorBoxFunction(ErrorBoxFunction function)
{
    ErrorBoxFunction previous = currentErrorBox;
    currentErrorBox = function;
    return previous;
}
