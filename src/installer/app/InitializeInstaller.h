#pragma once
// Work before the first page: user information, the destination from the registry, free space,
// the package's resources. Returns 1 or the first negative code.
int initializeInstaller();

// Codes for steps whose parts of the installer are not there yet: the run stops honestly
// instead of going on without them.
constexpr int kWizardNotAvailable = -100;
