#pragma once
// Files built next to the test programs (fixtures, stand-in libraries, the installer program).
#include <windows.h>

#include <string>

inline std::string besideTestProgram(const char* name)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string program(path);
    return program.substr(0, program.find_last_of('\\') + 1) + name;
}
