// tests/e2e/test_file_ops.cpp - the commands on remote entries against a real server:
// upload, download, new folder, delete and rename.
#include "e2e.h"

TEST_F(RuvexTest, DeletingAFileSendsDeleAndRelists)
{
    WriteLocalFile(FtpRootPath("gone.txt"), "bye");
    ASSERT_NE(LogIn(), nullptr);
    const int index = FindListEntry(ruvex, list, "gone.txt");
    ASSERT_GT(index, 0);
    ClickListItem(ruvex, list, index);
    Settle(main);
    PressButton(main, IDC_DELETE);
    EXPECT_TRUE(WaitUntil([&] { return FindListEntry(ruvex, list, "gone.txt") == -1; }));
    EXPECT_FALSE(LocalFileExists(FtpRootPath("gone.txt")));
}
