// tests/e2e/test_browser.cpp - browsing a real server: the listing, folders, the parent
// entry, refresh, the layout and closing.
#include "e2e.h"

#include "../../browser/file_types.h"

TEST_F(RuvexTest, FirstListingShowsTheParentEntryAndThePath)
{
    MakeLocalFolder(FtpRootPath("X"));
    WriteLocalFile(FtpRootPath("a.txt"), "a");
    ASSERT_NE(LogIn(), nullptr);
    const std::vector<ListEntry> entries = ReadList(ruvex, list);
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].text, "Up to parent directory");
    EXPECT_EQ(entries[0].image, ICON_PARENT);
    EXPECT_EQ(entries[1].text, "X");
    EXPECT_EQ(entries[1].image, ICON_FOLDER);
    EXPECT_EQ(entries[2].text, "a.txt");
    EXPECT_EQ(entries[2].image, ICON_DOCUMENT);
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/");
}
