#include "installer/variables/SystemProbes.h"

#include <utility>

namespace {

SystemProbes& current()
{
    static SystemProbes probes = defaultSystemProbes();
    return probes;
}

} // namespace

const SystemProbes& systemProbes()
{
    return current();
}

SystemProbes setSystemProbes(const SystemProbes& probes)
{
    return std::exchange(current(), probes);
}
