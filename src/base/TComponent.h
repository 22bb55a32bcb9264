#pragma once
// A component with an owner: a component constructed with an owner is registered with it and
// destroyed by it, in reverse order of registration. Destroying an owned component directly
// also unregisters it, so nothing is destroyed twice.
#include "base/TPersistent.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kv {

class TComponent : public TPersistent {
public:
    explicit TComponent(TComponent* AOwner);
    ~TComponent() override;
    std::string ClassName() const override { return "TComponent"; }

    TComponent* Owner() const { return FOwner; }
    const std::string& Name() const { return FName; }
    void SetName(const std::string& Value) { FName = Value; }
    std::intptr_t Tag() const { return FTag; }
    void SetTag(std::intptr_t Value) { FTag = Value; }

    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // The owned component at Index; raises EListError outside 0..ComponentCount - 1.
    TComponent* Components(int Index) const;

private:
    void InsertComponent(TComponent* Component);
    void RemoveComponent(TComponent* Component);

    TComponent* FOwner = nullptr;
    std::string FName;
    std::intptr_t FTag = 0;
    std::vector<TComponent*> FComponents; // owned; destroyed in reverse order
};

} // namespace kv
