#include "installer/variables/ProgramGroupFolder.h"

// The native stand-in: fixed folders in the shape Windows gives them.
ByteString programsMenuFolder(bool allUsers)
{
    return ByteString(allUsers ? "C:\\ProgramData\\Start Menu\\Programs" : "C:\\Users\\Setup\\Start Menu\\Programs");
}
