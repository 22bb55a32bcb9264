#include "gui/win/TPanel.h"

namespace kv {

void TPanel::Paint()
{
    Canvas().Brush().SetColor(Color());
    Canvas().Brush().SetStyle(bsSolid);
    Canvas().FillRect(ClientRect());
}

} // namespace kv
