#pragma once
// Hands the installer's own error box, fatal-error exit, shutdown, extraction question,
// next-volume dialog, uninstall log and file-search note to the libraries' hooks.
void installCoreHooks();

// The installation run's message boxes (owned by the installation page) and shell notice.
void installEngineHooks();
