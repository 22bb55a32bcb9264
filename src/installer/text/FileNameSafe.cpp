#include "installer/text/FileNameSafe.h"

ByteString fileNameSafe(const ByteString& text)
{
    ByteString safe = text;
    for (const char unsafe : {':', '/', '\\', '|', '*', '?', '"', '<', '>'})
        safe.replaceChar(static_cast<std::uint8_t>(unsafe), '_');
    return safe;
}
