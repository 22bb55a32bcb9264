#pragma once
// Hands the installer's own error box, fatal-error exit and uninstall log to the core's hooks.
void installCoreHooks();
