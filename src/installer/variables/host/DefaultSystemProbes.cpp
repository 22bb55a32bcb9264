#include "installer/variables/SystemProbes.h"

// The native build measures nothing.
SystemProbes defaultSystemProbes()
{
    return SystemProbes{};
}
