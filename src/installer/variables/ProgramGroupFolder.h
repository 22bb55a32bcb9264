#pragma once
// The program group's folder: the Programs folder of the start menu (all users' on NT-family
// Windows when the option word asks for the all-users menu, else the user's), a backslash, the
// program-group name and a backslash (the backslashes only when missing).
#include "installer/text/ByteString.h"

#include <cstdint>

// Bit of the option word: shortcuts go to the all-users start menu.
constexpr std::uint32_t kOptionAllUsersStartMenu = 1u << 23;

ByteString programGroupFolder();
// The Programs folder itself, in its short form where the system gives one (system part).
ByteString programsMenuFolder(bool allUsers);
