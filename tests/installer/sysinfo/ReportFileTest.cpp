#include "installer/sysinfo/ReportFile.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace {

TEST(ReportFile, FieldsInColumnsNeverCut)
{
    const std::vector<ByteString> lines = {
        ByteString("RAM:\t512 MB\t1024 MB\tNo"),
        ByteString(""),
        ByteString("Plain line"),
        ByteString("A label longer than twenty-two\tx"),
        ByteString("a\tb\tc\td\te"),
    };
    const std::string expected = std::string("RAM:                  512 MB                          1024 MB                         No\r\n")
                                 + "\r\n"
                                 + "Plain line\r\n"
                                 + "A label longer than twenty-two x\r\n"
                                 + "a                     b                               c                               d e\r\n";
    ByteString text = reportFileText(lines);
    EXPECT_EQ(std::string(text.cStr()), expected);
}

TEST(ReportFile, FirstFreeNameInTheFolder)
{
    std::set<std::string> existing;
    auto exists = [&existing](const char* path) { return existing.count(path) > 0; };
    ByteString name = reportFileName(ByteString("D:\\Docs"), exists);
    EXPECT_STREQ(name.cStr(), "D:\\Docs\\sysinfo.txt");
    existing = {"D:\\Docs\\sysinfo.txt", "D:\\Docs\\sysinfo1.txt"};
    name = reportFileName(ByteString("D:\\Docs\\"), exists);
    EXPECT_STREQ(name.cStr(), "D:\\Docs\\sysinfo2.txt");
}

} // namespace
