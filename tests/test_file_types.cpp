// tests/test_file_types.cpp - the choice of picture for a file name, and what an index means.
#include <gtest/gtest.h>

#include "../browser/file_types.h"

struct NamedCase {
    const char *name;
    int icon;
};

static void ExpectIcons(const NamedCase *cases, size_t count)
{
    for (size_t i = 0; i < count; ++i)
        EXPECT_EQ(ClassifyFileName(cases[i].name), cases[i].icon) << '"' << cases[i].name << '"';
}

TEST(ClassifyFileName, FoldsCaseOfTheLastExtension)
{
    const NamedCase cases[] = {
        {"photo.JPG", ICON_PICTURE},   {"Photo.Jpeg", ICON_PICTURE},  {"scan.TIF", ICON_PICTURE},
        {"report.PDF", ICON_PDF},      {"backup.tar.gz", ICON_ARCHIVE}, {"pack.TGZ", ICON_ARCHIVE},
        {"data.7z", ICON_ARCHIVE},     {"index.htm", ICON_WEB_PAGE},  {"INDEX.HTML", ICON_WEB_PAGE},
        {"page.html.bak", ICON_FILE},  {"setup.exe", ICON_PROGRAM},   {"COMMAND.COM", ICON_PROGRAM},
    };
    ExpectIcons(cases, sizeof cases / sizeof cases[0]);
}

TEST(ClassifyFileName, UnusualGroupMemberships)
{
    const NamedCase cases[] = {
        {"feed.xml", ICON_SPREADSHEET}, {"notes.txt", ICON_DOCUMENT}, {"memo.rtf", ICON_DOCUMENT},
        {"song.wma", ICON_MEDIA},       {"clip.qt", ICON_MEDIA},      {"stream.ram", ICON_MEDIA},
        {"lib.jar", ICON_ARCHIVE},      {"movie.swf", ICON_FLASH},    {"index.php", ICON_PHP},
        {"table.sylk", ICON_SPREADSHEET},
    };
    ExpectIcons(cases, sizeof cases / sizeof cases[0]);
}

TEST(ClassifyFileName, NameWithoutDotIsClassifiedWhole)
{
    const NamedCase cases[] = {
        {"Makefile", ICON_FILE}, {"ZIP", ICON_ARCHIVE}, {"png", ICON_PICTURE}, {"", ICON_FILE},
    };
    ExpectIcons(cases, sizeof cases / sizeof cases[0]);
}

TEST(ClassifyFileName, OnlyWholeExtensionsMatch)
{
    const NamedCase cases[] = {
        {"readme.", ICON_FILE}, {".htaccess", ICON_FILE}, {".gz", ICON_ARCHIVE}, {"x.jpe", ICON_FILE},
        {"x.jpegs", ICON_FILE}, {"x.mp4", ICON_FILE},     {"x.htmlx", ICON_FILE}, {"x.png ", ICON_FILE},
        {"x. png", ICON_FILE},  {"x.p*g", ICON_FILE},     {"x.z\xc9p", ICON_FILE}, {"dir.zip\\x", ICON_FILE},
    };
    ExpectIcons(cases, sizeof cases / sizeof cases[0]);
}

TEST(ClassifyFileName, NeverMarksAFileAsFolderOrParent)
{
    // Every byte value as a one-character extension, and long names.
    for (int c = 1; c < 256; ++c) {
        const int icon = ClassifyFileName((std::string("x.") + char(c)).c_str());
        EXPECT_NE(icon, ICON_FOLDER);
        EXPECT_NE(icon, 11);
        EXPECT_NE(icon, ICON_PARENT);
        EXPECT_EQ(EntryKindOf(icon), ENTRY_FILE);
    }
    EXPECT_EQ(ClassifyFileName((std::string(255, 'a') + ".gif").c_str()), ICON_PICTURE);
}

TEST(EntryKindOf, TellsFolderParentAndFile)
{
    EXPECT_EQ(EntryKindOf(ICON_FOLDER), ENTRY_FOLDER);
    EXPECT_EQ(EntryKindOf(ICON_PARENT), ENTRY_PARENT);
    for (int icon : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 13})
        EXPECT_EQ(EntryKindOf(icon), ENTRY_FILE) << icon;
}
