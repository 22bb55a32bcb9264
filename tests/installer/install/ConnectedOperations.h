#pragma once
// Every operation of the installation run connected to one that does nothing and succeeds, as
// the program connects them all: a test replaces the ones it watches.
#include "installer/install/InstallRun.h"

inline InstallOperations connectedOperations()
{
    InstallOperations o;
    for (std::function<bool()>* operation :
         {&o.pluginStepsBeforeRun, &o.prerequisites, &o.expandEntryTables, &o.convertMp3Files, &o.convertJpegFiles,
          &o.writeRegistry, &o.writeIniEntries, &o.editTextFiles, &o.createShortcuts, &o.countSharedLibraries,
          &o.registerFiles, &o.applyPendingRenames, &o.commitUninstallData, &o.pluginStepsAfterRun})
        *operation = [] { return true; };
    o.notifyAssociationsChanged = [] {};
    return o;
}
