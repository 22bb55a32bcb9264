#include "base/TPersistent.h"

#include "base/Exceptions.h"

namespace kv {

void TPersistent::Assign(const TPersistent& Source)
{
    Source.AssignTo(*this);
}

void TPersistent::AssignTo(TPersistent& Dest) const
{
    throw EConvertError("Cannot assign a " + ClassName() + " to a " + Dest.ClassName());
}

} // namespace kv
