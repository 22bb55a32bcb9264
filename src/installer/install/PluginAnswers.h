#pragma once
// What the plug-in's answers mean. A step export answers 1 (go on) or 2 (stay on the page);
// the start-up and closing exports answer 1 to let the installer go on. A processor exception
// inside an export counts as 1. Any other answer ends the installer.
#include <cstdint>
#include <optional>

struct PluginAnswer {
    std::int32_t value = 0;
    // The export ended in a processor exception.
    bool raised = false;
};

// A step export's answer as the wizard's step result: 0 go on, 1 stay on the page (only while a
// page is current), none when the installer must end.
std::optional<std::int32_t> stepResult(PluginAnswer answer, bool pageCurrent);
// The start-up and closing exports: true when the installer goes on.
bool answerGoesOn(PluginAnswer answer);
