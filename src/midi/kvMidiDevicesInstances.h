#pragma once
// The process-wide MIDI device objects: one input object and one output object. The first device
// component makes them; they live until FreeMidiDeviceObjects (called at program end).
#include "midi/kvMidiApi.h"

#include <memory>

namespace kv {

class TMidiInput;
class TMidiOutput;

TMidiInput* MidiInputObject();
TMidiOutput* MidiOutputObject();
// Makes the objects over Api when they do not exist yet.
void CreateMidiDeviceObjects(std::shared_ptr<IMidiApi> Api);
// Frees the input object, then the output object; each reference is cleared before its object
// is freed, and a driver callback after this finds no object.
void FreeMidiDeviceObjects();

} // namespace kv
