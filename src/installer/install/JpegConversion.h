#pragma once
// The JPEG phase: every installed JPEG file listed by the file phase is converted to a BMP file
// beside it by the package's image library, the BMP logged and the JPEG deleted.

// False when a file cannot be read, the library is missing or a conversion fails.
bool convertJpegFiles();

extern const char* const kJpegErrorCaption;
