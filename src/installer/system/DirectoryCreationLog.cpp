#include "installer/system/DirectoryCreation.h"

namespace {
CreatedFolderLog createdFolderLog = nullptr;
}

CreatedFolderLog setCreatedFolderLog(CreatedFolderLog log)
{
    CreatedFolderLog previous = createdFolderLog;
    createdFolderLog = log;
    return previous;
}

void recordCreatedFolder(const char* fullPath)
{
    if (createdFolderLog)
        createdFolderLog(fullPath);
}
