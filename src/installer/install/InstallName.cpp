#include "installer/install/InstallName.h"

#include "installer/variables/TextExpansion.h"
#include "installer/variables/VariableApi.h"

namespace {

// The value of one "<name>"; false when no variable has that name.
bool valueOf(const std::string& token, std::string& value)
{
    ByteString text(token.c_str());
    expandFolderVariables(text);
    if (!text.equalsCStr(token.c_str())) {
        value = text.cStr();
        return true;
    }
    expandBuiltinVariables(text);
    if (!text.equalsCStr(token.c_str())) {
        value = text.cStr();
        return true;
    }
    if (const char* userValue = getVariableText(token.c_str())) {
        value = userValue;
        return true;
    }
    return false;
}

} // namespace

std::string expandNameOnce(const std::string& text)
{
    std::string result;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t open = text.find('<', at);
        if (open == std::string::npos)
            break;
        const std::size_t close = text.find('>', open + 1);
        if (close == std::string::npos)
            break;
        // A name never holds another "<": the search starts again at the inner one.
        const std::size_t innerOpen = text.find('<', open + 1);
        if (innerOpen != std::string::npos && innerOpen < close) {
            result.append(text, at, innerOpen - at);
            at = innerOpen;
            continue;
        }
        result.append(text, at, open - at);
        const std::string token = text.substr(open, close - open + 1);
        std::string value;
        result += valueOf(token, value) ? value : token;
        at = close + 1;
    }
    result.append(text, at, std::string::npos);
    return result;
}

std::string collapseDoubleBackslashes(const std::string& path)
{
    std::string result = path.substr(0, 2);
    for (std::size_t i = 2; i < path.size(); ++i) {
        result += path[i];
        if (path[i] == '\\' && i + 1 < path.size() && path[i + 1] == '\\')
            ++i;
    }
    return result;
}

bool hasRelativeComponent(const std::string& path)
{
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of("\\/", start);
        if (end == std::string::npos)
            end = path.size();
        const std::string component = path.substr(start, end - start);
        if (component == "." || component == "..")
            return true;
        start = end + 1;
    }
    return false;
}

std::string folderOf(const std::string& path)
{
    const std::size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}
