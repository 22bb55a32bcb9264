#pragma once
// What a click on a template push button does, from its action word: low 15 bits the action
// code, high 16 bits the id of the control that receives a chosen folder or file.
#include "installer/wizard/TemplateParser.h"

#include <cstdint>

enum class ButtonCommand {
    NotHandled, // not a push button or no action: the page's own command handling runs
    Ignored,    // handled, nothing done
    BrowseFolder,
    BrowseFile,
    Next,
    Back,
    Cancel,
    Finish,
};

// While the installation runs only Cancel acts: the other actions would close the page and free
// the progress bars that the run is drawing on.
ButtonCommand buttonCommand(const TemplateControl& control, bool installationRunning);

inline std::int32_t actionTargetId(const TemplateControl& control)
{
    return static_cast<std::int32_t>(control.action >> 16);
}
