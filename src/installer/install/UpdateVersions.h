#pragma once
// Which installed versions an update package may update: a range from the lowest updatable
// version up to the version it installs, or a "|"-separated list. The versions come from the
// package; a package variable may replace each message.
#include "installer/text/ByteString.h"

struct UpdateVersionCheck {
    bool allowed = false;
    // What to tell the user when not allowed.
    ByteString message;
};

// Allowed when the installed version lies between the lowest updatable version and the version
// to install, compared part by part as numbers; the version to install itself is refused as
// already installed.
UpdateVersionCheck checkVersionInRange(const char* installed);
// Allowed when the installed version is one of the list's elements, byte for byte.
UpdateVersionCheck checkVersionInList(const char* installed);
// The list's elements for people: "a", "a and b", "a, b and c".
ByteString updatableVersionsShown(const ByteString& list);
