#include "midi/kvMidiDevicesInstances.h"

#include "midi/kvMidiDevicesInput.h"
#include "midi/kvMidiDevicesOutput.h"

namespace kv {

namespace {

std::unique_ptr<TMidiInput> InputObject;   // changed only under TMidiInput::Gate()
std::unique_ptr<TMidiOutput> OutputObject; // likewise

// Unit finalisation.
struct TFinalizer {
    ~TFinalizer() { FreeMidiDeviceObjects(); }
} Finalizer;

} // namespace

TMidiInput* MidiInputObject()
{
    std::lock_guard gate(TMidiInput::Gate());
    return InputObject.get();
}

TMidiOutput* MidiOutputObject()
{
    std::lock_guard gate(TMidiInput::Gate());
    return OutputObject.get();
}

void CreateMidiDeviceObjects(std::shared_ptr<IMidiApi> Api)
{
    std::lock_guard gate(TMidiInput::Gate());
    if (!InputObject) InputObject = std::make_unique<TMidiInput>(Api);
    if (!OutputObject) OutputObject = std::make_unique<TMidiOutput>(Api);
}

void FreeMidiDeviceObjects()
{
    std::unique_ptr<TMidiInput> input;
    std::unique_ptr<TMidiOutput> output;
    {
        std::lock_guard gate(TMidiInput::Gate());
        input = std::move(InputObject);
        output = std::move(OutputObject);
    }
    input.reset();
    output.reset();
}

} // namespace kv
