// The uninstall log's lists keep their texts in order with one closing NUL, and the backup
// text puts CR LF only between lines.
#include "installer/state/InstallerState.h"
#include "installer/state/UninstallLists.h"

#include <gtest/gtest.h>

TEST(UninstallLists, EntriesKeepTheirOrderAndTheListEndsWithOneExtraNul)
{
    ByteString list;
    EXPECT_TRUE(listEntries(list).empty());
    addListEntry("a", list);
    addListEntry("bc", list);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(list.data()), list.length()), std::string("a\0bc\0\0", 6));
    EXPECT_EQ(listEntries(list), (std::vector<std::string>{"a", "bc"}));
}

TEST(UninstallLists, BackupLinesAreSeparatedNotTerminated)
{
    gUninstallLog.backupText = ByteString();
    addBackupLine(ByteString("one"));
    addBackupLine(ByteString("two"));
    EXPECT_STREQ(ByteString(gUninstallLog.backupText).cStr(), "one\r\ntwo");
    gUninstallLog.backupText = ByteString();
}
