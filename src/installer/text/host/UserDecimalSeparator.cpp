#include "installer/text/NumberTexts.h"

// The native build has no user locale: the installer's fallback separator.
void formatSize(std::uint64_t byteCount, ByteString& out)
{
    formatSizeWithSeparator(byteCount, ",", out);
}
