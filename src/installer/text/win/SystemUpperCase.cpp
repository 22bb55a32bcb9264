#include "installer/text/SystemUpperCase.h"

#include <windows.h>

void systemUpperCase(ByteString& text)
{
    if (!text.empty())
        CharUpperBuffA(reinterpret_cast<char*>(text.data()), text.length());
}
