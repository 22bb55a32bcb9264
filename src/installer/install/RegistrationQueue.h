#pragma once
// The files to register after the installation, by falling priority; equal priorities keep
// the order in which they were queued.
#include "installer/state/InstallerState.h"

#include <vector>

void queueRegistration(std::vector<QueuedRegistration>& queue, const char* path, std::int32_t priority);
