// tests/test_listing_order.cpp - the order of the list: parent entry, folders, files, each in
// the server's order. A vector stands in for the list: insert at a position, or append past
// its end.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../browser/listing_order.h"

struct Listed {
    std::string name;
    bool isFolder;
};

static std::vector<std::string> BuildList(const std::vector<Listed> &enumerated)
{
    std::vector<std::string> list;
    list.insert(list.begin() + kParentEntryPosition, "Up to parent directory");
    int foldersSoFar = 0;
    for (const Listed &entry : enumerated) {
        const size_t position = (size_t)NextInsertPosition(entry.isFolder, &foldersSoFar);
        list.insert(list.begin() + (position < list.size() ? position : list.size()), entry.name);
    }
    return list;
}

TEST(ListingOrder, FoldersBeforeFilesEachInServerOrder)
{
    const std::vector<std::string> expected = {"Up to parent directory", "X", "Y", "a", "b"};
    EXPECT_EQ(BuildList({{"a", false}, {"X", true}, {"b", false}, {"Y", true}}), expected);
}

TEST(ListingOrder, EmptyDirectoryGivesTheParentEntryAlone)
{
    EXPECT_EQ(BuildList({}), std::vector<std::string>{"Up to parent directory"});
}

TEST(ListingOrder, FoldersOnlyAndFilesOnly)
{
    EXPECT_EQ(BuildList({{"z", true}, {"a", true}}), (std::vector<std::string>{"Up to parent directory", "z", "a"}));
    EXPECT_EQ(BuildList({{"z", false}, {"a", false}}), (std::vector<std::string>{"Up to parent directory", "z", "a"}));
}
