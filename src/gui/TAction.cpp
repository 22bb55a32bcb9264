#include "gui/TAction.h"

namespace kv {

void TAction::Changed()
{
    for (const auto& listener : FListeners)
        if (listener) listener();
}

void TAction::SetCaption(const std::string& Value)
{
    if (Value == FCaption) return;
    FCaption = Value;
    Changed();
}

void TAction::SetHint(const std::string& Value)
{
    if (Value == FHint) return;
    FHint = Value;
    Changed();
}

void TAction::SetImageIndex(int Value)
{
    if (Value == FImageIndex) return;
    FImageIndex = Value;
    Changed();
}

void TAction::SetChecked(bool Value)
{
    if (Value == FChecked) return;
    FChecked = Value;
    Changed();
}

void TAction::SetEnabled(bool Value)
{
    if (Value == FEnabled) return;
    FEnabled = Value;
    Changed();
}

void TAction::SetVisible(bool Value)
{
    if (Value == FVisible) return;
    FVisible = Value;
    Changed();
}

bool TAction::Execute()
{
    if (!FEnabled || !OnExecute) return false;
    OnExecute(this);
    return true;
}

TAction* TActionList::Add(const std::string& Name, const std::string& Caption, int ImageIndex, const std::string& Category)
{
    auto* action = new TAction(this);
    action->SetName(Name);
    action->SetCaption(Caption);
    action->SetHint(Caption);
    action->SetImageIndex(ImageIndex);
    action->SetCategory(Category);
    FActions.push_back(action);
    return action;
}

} // namespace kv
