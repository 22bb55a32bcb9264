#pragma once
// An object that can be assigned from another: Dest.Assign(Source) asks Source to AssignTo(Dest).
#include "base/TObject.h"

namespace kv {

class TPersistent : public TObject {
public:
    std::string ClassName() const override { return "TPersistent"; }
    // Copies Source into this object through Source.AssignTo(*this).
    virtual void Assign(const TPersistent& Source);

protected:
    // Raises EConvertError "Cannot assign a <Source class> to a <Dest class>"; classes that
    // can copy themselves into Dest override it.
    virtual void AssignTo(TPersistent& Dest) const;
};

} // namespace kv
