// mididump FILE: reads a MIDI file as the program does and prints its events (see MidiDump.h).
#include "MidiDump.h"

#include "base/Exceptions.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: mididump FILE\n");
        return 2;
    }
    try {
        kv::TKVMidiFile song(nullptr);
        song.SetFileType(kv::feMidi);
        song.SetFileName(argv[1]);
        song.ReadFile();
        std::fputs(kv::tools::DumpSong(song).c_str(), stdout);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "mididump: %s\n", e.what());
        return 1;
    }
}
