#pragma once
// Shortcuts through the shell link object. COM is initialised by the installer's start-up.

// Texts in the ANSI code page; empty texts are not set. True only when the link was saved.
bool createShortcut(const char* target, const char* linkPath, const char* description, const char* workingFolder,
                    const char* iconPath, int iconIndex, const char* arguments);
