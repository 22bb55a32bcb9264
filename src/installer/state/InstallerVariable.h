#pragma once
// A variable of the installer, written with its angle brackets ("<InstallDir>"). The table of
// contents declares most of them; start-up and the set functions add more. Names match byte for
// byte.
#include "installer/text/ByteString.h"

#include <cstdint>

enum VariableKind : std::int32_t {
    kVariableText = 0,
    kVariableInteger = 1,
};

// Before evaluation the state is the value's source; afterwards it is known.
enum VariableState : std::int32_t {
    kVariableFromRegistry = 0,
    kVariableFromIni = 1,
    kVariableFromFileSearch = 2,
    kVariableKnown = -1,
    kVariableBeingEvaluated = -2,
};

struct InstallerVariable {
    ByteString name;
    // kVariableInteger, or any other value for a text.
    std::int32_t kind = kVariableText;
    std::int32_t state = kVariableKnown;
    ByteString defaultText;
    // The source's texts: registry root, key, value name; INI file, section, key; or the file to
    // find and the folders to search.
    ByteString textA;
    ByteString textB;
    ByteString textC;
    std::uint32_t flags = 0;
    ByteString valueText;
    std::int32_t valueInt = 0;
};
