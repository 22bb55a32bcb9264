#include "installer/core/SystemUpperCase.h"

void systemUpperCase(ByteString& text)
{
    text.toUpper();
}
