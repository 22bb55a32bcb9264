#include "installer/install/ListedPaths.h"

std::vector<std::string> listedPaths(const ByteString& list)
{
    std::vector<std::string> paths;
    ByteString copy = list;
    const std::string text = copy.cStr();
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        const std::string line = text.substr(at, end == std::string::npos ? std::string::npos : end - at);
        if (!line.empty())
            paths.push_back(line);
        at = end == std::string::npos ? text.size() : end + 2;
    }
    return paths;
}
