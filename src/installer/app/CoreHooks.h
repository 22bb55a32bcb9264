#pragma once
// Hands the installer's own error box, fatal-error exit, uninstall log and file-search note to
// the core's hooks.
void installCoreHooks();
