#include "DefaultLayout.h"

#include "piano/kvPianoKeyLayout.h"
#include "piano/kvPianoKeyboardCore.h"

namespace kv {

void WriteDefaultLayout(const std::string& FileName)
{
    KeyLayout = BuiltInKeyLayout();
    TKVPianoKeyboardCore piano;
    piano.SaveToFile(FileName);
}

} // namespace kv
