#pragma once
// A command with its caption, hint, image, check and enabled state, shared by the tool buttons
// and menu items linked to it: they show what the action holds and follow each change of it.
#include "base/TComponent.h"

#include <functional>
#include <string>
#include <vector>

namespace kv {

class TAction : public TComponent {
public:
    explicit TAction(TComponent* AOwner) : TComponent(AOwner) {}
    std::string ClassName() const override { return "TAction"; }

    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& Value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& Value);
    const std::string& Category() const { return FCategory; }
    void SetCategory(const std::string& Value) { FCategory = Value; }
    int ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int Value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool Value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool Value);

    // Runs OnExecute when the action is enabled and has one; true when it ran.
    bool Execute();

    TNotifyEvent OnExecute;
    // The linked controls' way to follow a change; each one adds its own.
    void AddChangeListener(std::function<void()> Listener) { FListeners.push_back(std::move(Listener)); }

private:
    void Changed();

    std::string FCaption, FHint, FCategory;
    int FImageIndex = -1;
    bool FChecked = false, FEnabled = true, FVisible = true;
    std::vector<std::function<void()>> FListeners;
};

// The actions of a window; they are owned by the list.
class TActionList : public TComponent {
public:
    explicit TActionList(TComponent* AOwner) : TComponent(AOwner) {}
    std::string ClassName() const override { return "TActionList"; }
    // A new action owned by the list.
    TAction* Add(const std::string& Name, const std::string& Caption, int ImageIndex, const std::string& Category);
    int ActionCount() const { return static_cast<int>(FActions.size()); }
    TAction* Actions(int Index) const { return FActions.at(static_cast<std::size_t>(Index)); }

private:
    std::vector<TAction*> FActions;
};

} // namespace kv
