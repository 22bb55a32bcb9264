#pragma once
// The header of the uninstall data: the uninstaller's texts in the chosen language, its page
// template and the images the page shows. Only a package whose page sequence carries a readable
// uninstaller template has one.
//
// Layout: "\1"; BE32 total (template, language block and image part lengths + 16); BE32 language
// block length and the block; BE32 template length and the template; BE32 image part length
// (+ 4 for the count); BE32 image count; per image BE32 size, BE32 id and its bytes.
#include "installer/text/ByteString.h"
#include "installer/wizard/TemplateParser.h"

// The header into out; out stays empty without an uninstaller template.
void buildUninstallHeader(ByteString& out);

// The bytes of the bitmap control shows (its image id mapped through the package's identifier
// list); empty when there is none or it cannot be read.
ByteString readTemplateImage(const TemplateControl& control);
