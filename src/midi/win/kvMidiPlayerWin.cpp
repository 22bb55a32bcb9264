// The player on the system's multimedia timer.
#include "midi/kvMidiPlayer.h"

namespace kv {

TKVMidiPlayer::TKVMidiPlayer(TComponent* AOwner) : TKVMidiPlayer(AOwner, SystemMidiTimer()) {}

} // namespace kv
