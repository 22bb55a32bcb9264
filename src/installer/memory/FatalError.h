#pragma once
// The installer's fatal-error exit. fatalError hands its text (null = the language text for
// lack of memory) to the installed handler, which shows it and ends the installer; it never
// returns. The installer's start-up installs its abort path as the handler; until then, and in
// tests, a default handler reports the text and ends the process with exit code 0 ("not
// installed"). A test handler may throw instead of ending the process.

using FatalErrorHandler = void (*)(const char* text);

[[noreturn]] void fatalError(const char* text);

// Returns the handler that was installed before; null restores the default handler.
FatalErrorHandler setFatalErrorHandler(FatalErrorHandler handler);

// The text shown for a null text until the language set provides its own.
extern const char* const kOutOfMemoryText;

// The default handler: error box (Windows) or standard error, then process exit with code 0.
[[noreturn]] void defaultFatalErrorHandler(const char* text);
