#include "installer/wizard/ButtonActions.h"

ButtonCommand buttonCommand(const TemplateControl& control, bool installationRunning)
{
    if (control.type != kControlPushButton)
        return ButtonCommand::NotHandled;
    ButtonCommand command = ButtonCommand::NotHandled;
    switch (static_cast<std::int32_t>(control.action & 0x7FFF)) {
    case kActionBrowseFolder: command = ButtonCommand::BrowseFolder; break;
    case kActionBrowseFile: command = ButtonCommand::BrowseFile; break;
    case kActionNext: command = ButtonCommand::Next; break;
    case kActionBack: command = ButtonCommand::Back; break;
    case kActionCancel: command = ButtonCommand::Cancel; break;
    case kActionFinish: command = ButtonCommand::Finish; break;
    default: return ButtonCommand::NotHandled;
    }
    if (installationRunning && command != ButtonCommand::Cancel)
        return ButtonCommand::Ignored;
    return command;
}
