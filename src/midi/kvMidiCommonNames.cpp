#include "midi/kvMidiCommonNames.h"

namespace kv {

const std::array<KVInstrument, 20> MidiMessageNames = {{
    {"ALL NOTES OFF", 123},
    {"NOTE ON", 0x90},
    {"NOTE OFF", 0x80},
    {"KEY AFTER TOUCH", 0xA0},
    {"CONTROL CHANGE", 0xB0},
    {"PROGRAM CHANGE", 0xC0},
    {"CHAN AFTER TOUCH", 0xD0},
    {"PITCH BEND", 0xE0},
    {"SYSTEM MESSAGE", 0xF0},
    {"BEGIN SYSEX", 0xF0},
    {"MTCQU ARTER FRAME", 0xF1},
    {"SONG POS PTR", 0xF2},
    {"SONG SELECT", 0xF3},
    {"END SYSEX", 0xF7},
    {"TIMING CLOCK", 0xF8},
    {"START", 0xFA},
    {"CONTINUE", 0xFB},
    {"STOP", 0xFC},
    {"ACTIVE SENSING", 0xFE},
    {"SYSTEM RESET", 0xFF},
}};

namespace {

struct FamilyNames {
    const char* family;
    std::array<const char*, 8> programs;
};

const FamilyNames GMFamilyNames[16] = {
    {"Piano", {"Acoustic Grand Piano", "Bright Acoustic Piano", "Electric Grand Piano", "Honky-tonk Piano",
               "Rhodes Piano", "Chorused Piano", "Harpsichord", "Clavichord"}},
    {"Chromatic Percussion", {"Celesta", "Glockenspiel", "Music Box", "Vibraphone", "Marimba", "Xylophone",
                              "Tubular Bells", "Dulcimer"}},
    {"Organ", {"Hammond Organ", "Percussive Organ", "Rock Organ", "Church Organ", "Reed Organ", "Accordian",
               "Harmonica", "Tango Accordian"}},
    {"Guitar", {"Acoustic Guitar (nylon)", "Acoustic Guitar (steel)", "Electric Guitar (jazz)",
                "Electric Guitar (clean)", "Electric Guitar (muted)", "Overdriven Guitar", "Distortion Guitar",
                "Guitar Harmonics"}},
    {"Bass", {"Acoustic Bass", "Electric Bass (finger)", "Electric Bass (pick)", "Fretless Bass", "Slap Bass 1",
              "Slap Bass 2", "Synth Bass 1", "Synth Bass 2"}},
    {"Strings", {"Violin", "Viola", "Cello", "Contrabass", "Tremolo Strings", "Pizzicato Strings",
                 "Orchestral Harp", "Timpani"}},
    {"Ensemble", {"String Ensemble 1", "String Ensemble 2", "Synth Strings 1", "Synth Strings 2", "Choir Aahs",
                  "Voice Oohs", "Synth Voice", "Orchestra Hit"}},
    {"Brass", {"Trumpet", "Trombone", "Tuba", "Muted Trumpet", "French Horn", "Brass Section", "Synth Brass 1",
               "Synth Brass 2"}},
    {"Reed", {"Soprano Sax", "Alto Sax", "Tenor Sax", "Baritone Sax", "Oboe", "English Horn", "Bassoon",
              "Clarinet"}},
    {"Pipe", {"Piccolo", "Flute ", "Recorder", "Pan Flute", "Bottle Blow", "Shakuhachi", "Whistle", "Ocarina"}},
    {"Synth Lead", {"Lead 1 (square)", "Lead 2 (sawtooth)", "Lead 3 (caliope lead)", "Lead 4 (chiff lead)",
                    "Lead 5 (charang)", "Lead 6 (voice)", "Lead 7 (fifths)", "Lead 8 (brass + lead)"}},
    {"Synth Pad", {"Pad 1 (new age)", "Pad 2 (warm)", "Pad 3 (polysynth)", "Pad 4 (choir)", "Pad 5 (bowed)",
                   "Pad 6 (metallic)", "Pad 7 (halo)", "Pad 8 (sweep)"}},
    {"Synth Effects", {"FX 1 (rain)", "FX 2 (soundtrack)", "FX 3 (crystal)", "FX 4 (atmosphere)",
                       "FX 5 (brightness)", "FX 6 (goblins)", "FX 7 (echoes)", "FX 8 (sci-fi)"}},
    {"Ethnic", {"Sitar", "Banjo", "Shamisen", "Koto", "Kalimba", "Bagpipe", "Fiddle", "Shanai"}},
    {"Percussive", {"Tinkle Bell", "Agogo", "Steel Drums", "Woodblock", "Taiko Drum", "Melodic Tom",
                    "Synth Drum", "Reverse Cymbal"}},
    {"Sound Effects", {"Guitar Fret Noise", "Breath Noise", "Seashore", "Bird Tweet", "Telephone Ring",
                       "Helicopter", "Applause", "Gunshot"}},
};

std::array<KVFamily, 16> MakeGMFamilies()
{
    std::array<KVFamily, 16> families;
    for (int f = 0; f < 16; ++f) {
        families[f].FName = GMFamilyNames[f].family;
        for (int j = 0; j < 8; ++j)
            families[f].FInstrument[j] = {GMFamilyNames[f].programs[j], 8 * f + j};
    }
    return families;
}

const char* const GMDrumNames[47] = {
    "Acoustic Bass Drum", "Bass Drum 1", "Side Stick", "Acoustic Snare", "Hand Clap", "Electric Snare",
    "Low Floor Tom", "Closed Hi-Hat", "High Floor Tom", "Pedal Hi-Hat", "Low Tom", "Open Hi-Hat",
    "Low-Mid Tom", "Hi-Mid Tom", "Crash Cymbal 1", "High Tom", "Ride Cymbal 1", "Chinese Cymbal",
    "Ride Bell", "Tambourine", "Splash Cymbal", "Cowbell", "Crash Cymbal 2", "Vibraslap",
    "Ride Cymbal 2", "Hi Bongo", "Low Bongo", "Mute Hi Conga", "Open Hi Conga", "Low Conga",
    "High Timbale", "Low Timbale", "High Agogo", "Low Agogo", "Cabasa", "Maracas",
    "Short Whistle", "Long Whistle", "Short Guiro", "Long Guiro", "Claves", "Hi Wood Block",
    "Low Wood Block", "Mute Cuica", "Open Cuica", "Mute Triangle", "Open Triangle",
};

std::array<KVInstrument, 47> MakeGMDrums()
{
    std::array<KVInstrument, 47> drums;
    for (int i = 0; i < 47; ++i)
        drums[i] = {GMDrumNames[i], 35 + i};
    return drums;
}

} // namespace

const std::array<KVFamily, 16> GMFamilies = MakeGMFamilies();
const std::array<KVInstrument, 47> GMDrums = MakeGMDrums();

const std::array<std::string, 12> NoteNames = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
const std::array<std::string, 12> NumberedNoteNames = {"1", "1#", "2", "2#", "3", "4",
                                                       "4#", "5", "5#", "6", "6#", "7"};

} // namespace kv
