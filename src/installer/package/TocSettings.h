#pragma once
// The settings that close the table of contents: product identity and registry keys, the
// background window, the system requirements, the option and package words and the run modes.
#include "installer/package/BlockReader.h"
#include "installer/package/TocRead.h"

// Reads them into targets; false when the block ends inside them.
bool readTocSettings(BlockReader& reader, const TocTargets& targets);
