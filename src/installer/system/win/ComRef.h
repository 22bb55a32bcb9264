#pragma once
// Owns one reference to a COM interface and releases it.
#include <utility>

template <typename Interface>
class ComRef {
public:
    ComRef() = default;
    ~ComRef() { reset(); }
    ComRef(const ComRef&) = delete;
    ComRef& operator=(const ComRef&) = delete;

    Interface* get() const { return p_; }
    Interface* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For the functions that hand out an interface through an out parameter.
    void** out()
    {
        reset();
        return reinterpret_cast<void**>(&p_);
    }
    void reset()
    {
        if (p_)
            std::exchange(p_, nullptr)->Release();
    }

private:
    Interface* p_ = nullptr;
};
