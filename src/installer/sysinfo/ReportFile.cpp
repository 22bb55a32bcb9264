#include "installer/sysinfo/ReportFile.h"

#include "installer/system/FileSystem.h"

#include <cstdint>

namespace {

constexpr std::uint32_t kColumns[] = {0, 22, 54, 86};
// Enough names for any folder; the last one is used whatever exists.
constexpr std::int32_t kMaxNumber = 100000;

} // namespace

ByteString reportFileText(const std::vector<ByteString>& lines)
{
    ByteString text;
    for (const ByteString& line : lines) {
        ByteString laidOut;
        std::size_t column = 0;
        for (std::uint32_t i = 0; i < line.length(); ++i) {
            if (line.at(i) != '\t') {
                laidOut.appendChar(line.at(i));
                continue;
            }
            ++column;
            const std::uint32_t start = column < std::size(kColumns) ? kColumns[column] : 0;
            do
                laidOut.appendChar(' ');
            while (laidOut.length() < start);
        }
        text.append(laidOut);
        text.appendCStr("\r\n");
    }
    return text;
}

ByteString reportFileName(const ByteString& folder, const std::function<bool(const char* path)>& exists)
{
    ByteString base(folder);
    if (!base.empty() && base.at(base.length() - 1) != '\\')
        base.appendChar('\\');
    ByteString name(base);
    name.appendCStr("sysinfo.txt");
    for (std::int32_t n = 1; exists(name.cStr()) && n <= kMaxNumber; ++n) {
        name = base;
        name.format("sysinfo%d.txt", n);
    }
    return name;
}

bool saveReportFile(const std::vector<ByteString>& lines, const ByteString& folder, ByteString& path)
{
    path = reportFileName(folder, [](const char* candidate) { return fileExists(candidate); });
    return reportFileText(lines).saveToFile(path.cStr()) == 1;
}
