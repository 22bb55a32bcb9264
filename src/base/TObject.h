#pragma once
// The root of the component library's classes, and its notification event.
#include <functional>
#include <string>

namespace kv {

class TObject {
public:
    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;
    // The class name as the program shows it ("TKVMidiEvent").
    virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

} // namespace kv
