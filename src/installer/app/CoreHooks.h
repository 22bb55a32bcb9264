#pragma once
// Hands the installer's own error box, fatal-error exit, shutdown, extraction question,
// next-volume dialog and uninstall log to the core's hooks.
void installCoreHooks();
