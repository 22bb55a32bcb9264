#include "base/Exceptions.h"
#include "base/TComponent.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace kv {
namespace {

// Records its destruction in a shared log.
class TTracer : public TComponent {
public:
    TTracer(TComponent* AOwner, std::string name, std::vector<std::string>* log) : TComponent(AOwner), log_(log)
    {
        SetName(std::move(name));
    }
    ~TTracer() override
    {
        log_->push_back(Name());
        if (OnDestroy) OnDestroy(this);
    }
    std::string ClassName() const override { return "TTracer"; }
    std::function<void(TTracer*)> OnDestroy;

private:
    std::vector<std::string>* log_;
};

TEST(ComponentTest, WithoutOwner)
{
    TComponent component(nullptr);
    EXPECT_EQ(component.Owner(), nullptr);
    EXPECT_EQ(component.ComponentCount(), 0);
    EXPECT_EQ(component.ClassName(), "TComponent");
    EXPECT_EQ(component.Name(), "");
    EXPECT_EQ(component.Tag(), 0);
    component.SetName("Main");
    component.SetTag(-12);
    EXPECT_EQ(component.Name(), "Main");
    EXPECT_EQ(component.Tag(), -12);
}

TEST(ComponentTest, OwnerRegistration)
{
    std::vector<std::string> log;
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* a = new TTracer(owner.get(), "a", &log);
    auto* b = new TTracer(owner.get(), "b", &log);
    auto* c = new TTracer(a, "c", &log);
    EXPECT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(owner->Components(1), b);
    EXPECT_EQ(a->Owner(), owner.get());
    EXPECT_EQ(c->Owner(), a);
    EXPECT_EQ(a->ComponentCount(), 1);
    EXPECT_EQ(b->ComponentCount(), 0);
    owner.reset();
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "c"}));
}

TEST(ComponentTest, OwnedComponentsAreDestroyedInReverseOrder)
{
    std::vector<std::string> log;
    {
        TTracer root(nullptr, "root", &log);
        for (int i = 0; i < 5; ++i) new TTracer(&root, "child" + std::to_string(i), &log);
        auto* inner = static_cast<TTracer*>(root.Components(2));
        new TTracer(inner, "grandchild0", &log);
        new TTracer(inner, "grandchild1", &log);
    }
    // The owner's own destructor body runs first (derived before base), then its components.
    EXPECT_EQ(log, (std::vector<std::string>{"root", "child4", "child3", "child2", "grandchild1", "grandchild0",
                                             "child1", "child0"}));
}

TEST(ComponentTest, DirectlyDeletedComponentUnregistersItself)
{
    std::vector<std::string> log;
    {
        TComponent owner(nullptr);
        new TTracer(&owner, "a", &log);
        auto* b = new TTracer(&owner, "b", &log);
        new TTracer(&owner, "c", &log);
        delete b;
        EXPECT_EQ(log, std::vector<std::string>{"b"});
        ASSERT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0)->Name(), "a");
        EXPECT_EQ(owner.Components(1)->Name(), "c");
    }
    EXPECT_EQ(log, (std::vector<std::string>{"b", "c", "a"})); // nothing twice
}

TEST(ComponentTest, ComponentDestroyingASiblingInItsDestructor)
{
    std::vector<std::string> log;
    {
        TComponent owner(nullptr);
        auto* a = new TTracer(&owner, "a", &log);
        auto* b = new TTracer(&owner, "b", &log);
        new TTracer(&owner, "c", &log);
        b->OnDestroy = [a](TTracer*) { delete a; };
    }
    EXPECT_EQ(log, (std::vector<std::string>{"c", "b", "a"}));
}

TEST(ComponentTest, ComponentsOutOfRange)
{
    TComponent owner(nullptr);
    new TComponent(&owner);
    EXPECT_THROW(owner.Components(-1), EListError);
    try {
        owner.Components(1);
        FAIL() << "no exception";
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
}

// A persistent class that can copy itself into another of its kind.
class TColorBox : public TPersistent {
public:
    std::string ClassName() const override { return "TColorBox"; }
    int Color = 0;

protected:
    void AssignTo(TPersistent& Dest) const override
    {
        if (auto* box = dynamic_cast<TColorBox*>(&Dest)) {
            box->Color = Color;
            return;
        }
        TPersistent::AssignTo(Dest);
    }
};

TEST(PersistentTest, AssignThroughAssignTo)
{
    TColorBox a, b;
    a.Color = 7;
    b.Assign(a);
    EXPECT_EQ(b.Color, 7);
}

TEST(PersistentTest, DefaultAssignToRaises)
{
    TColorBox box;
    TComponent component(nullptr);
    try {
        box.Assign(component);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TComponent to a TColorBox");
    }
    try {
        component.Assign(box);
        FAIL() << "no exception";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TColorBox to a TComponent");
    }
    TPersistent plain;
    EXPECT_EQ(plain.ClassName(), "TPersistent");
    EXPECT_THROW(plain.Assign(plain), EConvertError);
}

TEST(ObjectTest, ClassNameAndNotifyEvent)
{
    TObject object;
    EXPECT_EQ(object.ClassName(), "TObject");
    TObject* seen = nullptr;
    TNotifyEvent event = [&](TObject* Sender) { seen = Sender; };
    event(&object);
    EXPECT_EQ(seen, &object);
}

} // namespace
} // namespace kv
