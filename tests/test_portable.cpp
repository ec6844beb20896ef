// tests/test_portable.cpp - the portable rules: the name operations and the choice of picture.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "../browser/file_types.h"
#include "../browser/listing_order.h"
#include "../names/names.h"
#include "code_page_932.h"

typedef std::pair<std::string, std::string> Case;  // argument, result

// Name tables run a byte a character and in code page 932's pairs; fuzz_names.cpp checks the rest.
static const CharacterLengthFunction kReadings[] = {nullptr, CodePage932CharacterLength};

// What an operation writes into a buffer of `size` bytes; a guard byte catches a write past it.
static std::string Through(void (*operation)(char *, size_t, const char *), const std::string &text,
                           size_t size = kNameBufferSize)
{
    std::string buffer(size + 1, '#');
    operation(&buffer[0], size, text.c_str());
    EXPECT_EQ(buffer[size], '#') << "wrote past the buffer for \"" << text << '"';
    return buffer.c_str();
}

TEST(Names, FoldingTrimmingAndCopyingKeepWithinTheirBuffers)
{
    EXPECT_EQ(Through(ToLowerCase, "ReadMe.TXT\xc9\xe9 09-_@[`{"), "readme.txt\xc9\xe9 09-_@[`{");
    for (const Case &c : {Case{"  new folder  ", "new folder"}, {"\tx\t", "\tx\t"}, {"    ", ""}, {"a  b", "a  b"}})
        EXPECT_EQ(Through(TrimSpaces, c.first), c.second) << '"' << c.first << '"';
    EXPECT_EQ(Through(CopyTextToBuffer, std::string(300, 'x')), std::string(260, 'x'));
    EXPECT_EQ(Through(ToLowerCase, "ABCDEF", 4), "abc");
    EXPECT_EQ(Through(TrimSpaces, "  abcdef  ", 4), "abc");
    // A cut never leaves a lone lead byte, which would join what is put after it.
    UseCharacterLengths(CodePage932CharacterLength);
    EXPECT_EQ(Through(TrimSpaces, "  ab\x83\x5c  ", 4), "ab");
    UseCharacterLengths(nullptr);
}

TEST(Names, SuggestedLocalNameNeverLeavesTheChosenFolder)
{
    for (CharacterLengthFunction reading : kReadings) {
        UseCharacterLengths(reading);
        for (const Case &c : {Case{"..\\..\\evil.txt", "evil.txt"}, {"up/x?y*.txt", "x_y_.txt"}, {"C:evil.txt", "evil.txt"},
                              {"\\\\host\\share\\f", "f"}, {"../", ""}, {"..", ""}, {"a\x01<b>|", "a__b__"}})
            EXPECT_EQ(Through(SafeLocalFileName, c.first), c.second) << c.first;
    }
    // Holding a stray lead byte, the copy is read byte by byte: a second byte 5C or 7C goes too.
    UseCharacterLengths(CodePage932CharacterLength);
    for (const Case &c : {Case{"..\\\x83\x5c.txt", "\x83\x5c.txt"}, {"x\x82/evil.txt", "evil.txt"}, {"\x82\r", "\x82_"},
                          {"a|\x83\x7c", "a_\x83\x7c"}, {"\x83\x7c\x82*", "\x83_\x82_"}})
        EXPECT_EQ(Through(SafeLocalFileName, c.first), c.second) << c.first;
    EXPECT_EQ(Through(SafeLocalFileName, "\x83\x5c\x83\x5c", 4), "\x83\x5c");
    UseCharacterLengths(nullptr);
}

// A picked path converts without best fit (WC_NO_BEST_FIT_CHARS), but UTF-8, where Windows makes it
// the code page, takes no flag but WC_ERR_INVALID_CHARS: with any other it refuses every path.
TEST(Names, PickedPathsConvertExactlyInEveryCodePage)
{
    EXPECT_EQ(ExactConversionFlags(1252) + ExactConversionFlags(932) + ExactConversionFlags(65001), 0x400u * 2 + 0x80u);
}

// Far past 10,000 entries the list reads: the parent entry, the folders, then the files, each
// in the server's order. The list view puts an entry asked for past its end at the end.
TEST(ListingOrder, AnyNumberOfEntriesKeepsTheServersOrderWithFoldersFirst)
{
    std::vector<std::string> list = {"parent"}, expected = {"parent"}, files;
    int foldersSoFar = 0, entriesSoFar = 1;
    for (int i = 0; i < 10200; ++i) {
        const bool isFolder = i % 1000 == 500;
        (isFolder ? expected : files).push_back(std::to_string(i));
        const size_t position = NextInsertPosition(isFolder, &foldersSoFar, &entriesSoFar);
        list.insert(list.begin() + std::min(position, list.size()), std::to_string(i));
    }
    expected.insert(expected.end(), files.begin(), files.end());
    EXPECT_TRUE(list == expected);
}

// A literal of each group, folded, and names that only look like one.
TEST(FileTypes, TheLastExtensionChoosesThePicture)
{
    const std::pair<int, std::vector<const char *>> groups[] = {
        {ICON_PICTURE, {"a.Jpeg", "scan.TIF"}}, {ICON_PDF, {"a.PDF"}}, {ICON_ARCHIVE, {"backup.tar.gz", "a.7z", "ZIP", ".gz"}},
        {ICON_WEB_PAGE, {"a.HTM"}}, {ICON_PHP, {"index.php"}}, {ICON_PROGRAM, {"COMMAND.COM"}}, {ICON_FLASH, {"a.swf"}},
        {ICON_SPREADSHEET, {"feed.xml"}}, {ICON_DOCUMENT, {"notes.txt"}}, {ICON_MEDIA, {"song.wma", "clip.qt"}},
        {ICON_FILE, {"Makefile", "", "readme.", ".htaccess", "page.html.bak", "a.jpe", "a.jpegs", "a.png ", "a.z\xc9p",
                     "dir.zip\\x"}},
    };
    for (const auto &group : groups)
        for (const char *name : group.second)
            EXPECT_EQ(ClassifyFileName(name), group.first) << '"' << name << '"';
}
