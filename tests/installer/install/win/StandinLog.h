#pragma once
// The start log of the stand-in programs (fixtures/standin_log.h) for one test: the variables
// the stand-ins read are set while the object lives; lines() gives what they logged.
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

struct StandinStart {
    std::string program;
    std::string commandLine;
    std::string folder;
};

class StandinLog {
public:
    explicit StandinLog(std::string path, int exitCode = 0) : path_(std::move(path))
    {
        DeleteFileA(path_.c_str());
        SetEnvironmentVariableA("KV_STANDIN_LOG", path_.c_str());
        SetEnvironmentVariableA("KV_STANDIN_EXIT", std::to_string(exitCode).c_str());
    }
    ~StandinLog()
    {
        SetEnvironmentVariableA("KV_STANDIN_LOG", nullptr);
        SetEnvironmentVariableA("KV_STANDIN_EXIT", nullptr);
        DeleteFileA(path_.c_str());
    }
    StandinLog(const StandinLog&) = delete;
    StandinLog& operator=(const StandinLog&) = delete;

    std::vector<StandinStart> starts() const
    {
        std::vector<StandinStart> result;
        std::ifstream in(path_, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            const std::size_t first = line.find('|');
            const std::size_t last = line.rfind('|');
            if (first == std::string::npos || first == last)
                continue;
            result.push_back({line.substr(0, first), line.substr(first + 1, last - first - 1), line.substr(last + 1)});
        }
        return result;
    }

private:
    std::string path_;
};
