#pragma once
// The installer's error box, as the utilities use it (createDirectories). Start-up installs
// the installer's own box (owner window, caption); until then, and in tests, a default is used.

using ErrorBoxFunction = void (*)(const char* text);

void showErrorBox(const char* text);
// Returns the function installed before; null restores the default.
ErrorBoxFunction setErrorBoxFunction(ErrorBoxFunction function);
void defaultErrorBox(const char* text);
