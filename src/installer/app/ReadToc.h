#pragma once
// Locates the package and reads its table of contents; 1, or a negative code.
int readToc();
