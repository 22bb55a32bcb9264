#include "installer/variables/VariableSources.h"

#include <utility>

namespace {

VariableSources& current()
{
    static VariableSources sources = systemVariableSources();
    return sources;
}

} // namespace

const VariableSources& variableSources()
{
    return current();
}

VariableSources setVariableSources(VariableSources sources)
{
    return std::exchange(current(), std::move(sources));
}
