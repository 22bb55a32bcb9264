#include "installer/install/InstallFileSystem.h"

namespace {
InstallFileSystem* current = nullptr;
}

InstallFileSystem& installFileSystem()
{
    return current ? *current : systemFileSystem();
}

InstallFileSystem* setInstallFileSystem(InstallFileSystem* fileSystem)
{
    InstallFileSystem* previous = current;
    current = fileSystem;
    return previous;
}
