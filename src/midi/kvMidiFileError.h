#pragma once
// A MIDI file whose bytes cannot be a song: a length that runs past its chunk, a number without
// end, a data byte where a status belongs. The message says what is wrong and where.
#include "base/Exceptions.h"

namespace kv {

class EMidiFileError : public Exception { using Exception::Exception; };

} // namespace kv
