#include "installer/text/SystemUpperCase.h"

void systemUpperCase(ByteString& text)
{
    text.toUpper();
}
