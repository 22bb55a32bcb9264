#include "base/TComponent.h"

#include "base/Exceptions.h"
#include "base/Format.h"
#include "base/ResStr.h"

#include <algorithm>

namespace kv {

TComponent::TComponent(TComponent* AOwner)
{
    if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent()
{
    // Owned components go last-registered first. Each is taken out of the list (and told it has
    // no owner) before it is destroyed, so its destructor does not look for us, and a component
    // that destroys a sibling in its destructor finds the list still consistent.
    while (!FComponents.empty()) {
        TComponent* child = FComponents.back();
        FComponents.pop_back();
        child->FOwner = nullptr;
        delete child;
    }
    if (FOwner) FOwner->RemoveComponent(this);
}

TComponent* TComponent::Components(int Index) const
{
    if (Index < 0 || Index >= ComponentCount())
        throw EListError(Format(ResStr("List index out of bounds (%d)"), {Index}));
    return FComponents[static_cast<std::size_t>(Index)];
}

void TComponent::InsertComponent(TComponent* Component)
{
    FComponents.push_back(Component);
    Component->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* Component)
{
    // Search from the end: components are usually destroyed in reverse order of creation.
    const auto it = std::find(FComponents.rbegin(), FComponents.rend(), Component);
    if (it != FComponents.rend()) FComponents.erase(std::next(it).base());
    Component->FOwner = nullptr;
}

} // namespace kv
