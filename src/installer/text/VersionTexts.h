#pragma once
// Version texts such as "1.4.2_03", "2.81.1117.0" or "10.0", compared as people read them: part
// by part between the dots, the leading digits of each part as a number and what follows them
// byte by byte. "1.10" is greater than "1.9", "10.0" lies between "9.0" and "11.0". A text with
// more parts is greater than one it starts with ("1.4.2" above "1.4").
#include <string_view>

// Below 0 when a comes first, 0 when equal, above 0 when a comes later.
int compareVersionTexts(std::string_view a, std::string_view b);
