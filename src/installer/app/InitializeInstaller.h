#pragma once
// Work before the first page: user information, the destination from the registry, free space,
// the package's resources. Returns 1 or the first negative code.
int initializeInstaller();

// The wizard's main window could not be made.
constexpr int kMainWindowNotMade = -102;
