// tests/test_names.cpp - the byte rules of the name and text operations, by operation.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "../names/names.h"

// A buffer-filling operation's result as a value, so each case reads as one comparison.
static std::string Into(void (*operation)(char *, size_t, const char *), const std::string &text)
{
    char buffer[1024];
    operation(buffer, sizeof buffer, text.c_str());
    return buffer;
}

TEST(GetFileExtension, TakesTheTextAfterTheLastDot)
{
    EXPECT_STREQ(GetFileExtension("archive.tar.gz"), "gz");
    EXPECT_STREQ(GetFileExtension("photo.JPG"), "JPG");  // folding is the caller's step
    EXPECT_STREQ(GetFileExtension(".profile"), "profile");
    EXPECT_STREQ(GetFileExtension("dir.old\\notes"), "old\\notes");  // no separator stops the scan
}

TEST(GetFileExtension, NameWithoutDotIsItsOwnExtension)
{
    EXPECT_STREQ(GetFileExtension("README"), "README");
}

TEST(GetFileExtension, TrailingDotGivesEmptyText)
{
    for (const char *name : {"readme.", ".", "..", ""})
        EXPECT_STREQ(GetFileExtension(name), "") << name;
}

TEST(GetBaseName, TakesTheTextAfterTheLastBackslash)
{
    EXPECT_STREQ(GetBaseName("D:\\Users\\pat\\notes.txt"), "notes.txt");
    EXPECT_STREQ(GetBaseName("notes.txt"), "notes.txt");
    EXPECT_STREQ(GetBaseName("D:\\temp\\"), "");
    EXPECT_STREQ(GetBaseName("D:/temp/notes.txt"), "D:/temp/notes.txt");  // the slash is no separator
    EXPECT_STREQ(GetBaseName(""), "");
}

TEST(GetFolderOfPath, KeepsEverythingUpToTheLastBackslash)
{
    EXPECT_EQ(Into(GetFolderOfPath, "D:\\Users\\pat\\notes.txt"), "D:\\Users\\pat\\");
    EXPECT_EQ(Into(GetFolderOfPath, "notes.txt"), "");
    EXPECT_EQ(Into(GetFolderOfPath, "Z:\\"), "Z:\\");
}

TEST(IsValidFileName, AcceptsOrdinaryAndOddButHarmlessNames)
{
    for (const char *name : {"notes.txt", "", ".", "..", "   ", "a\tb", "caf\xe9", " lead and trail "})
        EXPECT_TRUE(IsValidFileName(name)) << name;
}

TEST(IsValidFileName, RefusesEachForbiddenCharacterAnywhere)
{
    for (char forbidden : std::string("/\\:*?\"<>|")) {
        const std::string c(1, forbidden);
        EXPECT_FALSE(IsValidFileName((c + "name").c_str())) << forbidden;
        EXPECT_FALSE(IsValidFileName(("na" + c + "me").c_str())) << forbidden;
        EXPECT_FALSE(IsValidFileName(("name" + c).c_str())) << forbidden;
    }
    for (const char *name : {"a:b", "why?", "a|b", "a/b", "a\\b", "a*"})
        EXPECT_FALSE(IsValidFileName(name)) << name;
}

TEST(HasControlCharacter, FindsEveryByteBelow32)
{
    for (int c = 1; c < 32; ++c)
        EXPECT_TRUE(HasControlCharacter(("new" + std::string(1, char(c)) + "folder").c_str())) << c;
    EXPECT_TRUE(HasControlCharacter("x\r\nDELE y"));
    EXPECT_FALSE(HasControlCharacter("plain name.txt"));
    EXPECT_FALSE(HasControlCharacter("\x7f\x80\xff"));  // high bytes are ordinary characters
    EXPECT_FALSE(HasControlCharacter(""));
}

TEST(ToLowerCase, FoldsOnlyAToZ)
{
    EXPECT_EQ(Into(ToLowerCase, "ReadMe.TXT"), "readme.txt");
    EXPECT_EQ(Into(ToLowerCase, "0123456789 !@#[]^_`{}~"), "0123456789 !@#[]^_`{}~");
    EXPECT_EQ(Into(ToLowerCase, ""), "");
    std::string high;
    for (int c = 128; c < 256; ++c)
        high += char(c);
    EXPECT_EQ(Into(ToLowerCase, high), high);  // accented capitals stay as they are
    EXPECT_EQ(Into(ToLowerCase, "@AZ[`az{"), "@az[`az{");  // the letters' neighbours stay
}

TEST(TrimSpaces, RemovesOnlyOuterSpaces)
{
    EXPECT_EQ(Into(TrimSpaces, "  new folder  "), "new folder");
    EXPECT_EQ(Into(TrimSpaces, "\tname\t"), "\tname\t");
    EXPECT_EQ(Into(TrimSpaces, "    "), "");
    EXPECT_EQ(Into(TrimSpaces, ""), "");
    EXPECT_EQ(Into(TrimSpaces, "two  spaces"), "two  spaces");
    EXPECT_EQ(Into(TrimSpaces, " x"), "x");
}

TEST(CopyTextToBuffer, CutsToTheBufferAndEndsWithZero)
{
    char buffer[kNameBufferSize + 1];
    std::memset(buffer, 'q', sizeof buffer);
    CopyTextToBuffer(buffer, kNameBufferSize, std::string(300, 'a').c_str());
    EXPECT_EQ(std::string(buffer), std::string(260, 'a'));
    EXPECT_EQ(buffer[kNameBufferSize], 'q');  // nothing written past the buffer

    CopyTextToBuffer(buffer, kNameBufferSize, std::string(260, 'b').c_str());
    EXPECT_EQ(std::string(buffer), std::string(260, 'b').c_str());

    CopyTextToBuffer(buffer, kNameBufferSize, "");
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'b');  // the bytes after the zero are left as they were
}

TEST(CopyTextToBuffer, OneByteBufferHoldsOnlyTheZero)
{
    char buffer[2] = {'x', 'y'};
    CopyTextToBuffer(buffer, 1, "abc");
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'y');
}

TEST(TextEquals, ComparesWholeTextsByteForByte)
{
    EXPECT_FALSE(TextEquals("Notes", "notes"));
    EXPECT_FALSE(TextEquals("notes", "notes "));
    EXPECT_TRUE(TextEquals("notes", "notes"));
    const char buffer[4] = {'\0', 'x', 'y', '\0'};
    EXPECT_TRUE(TextEquals(buffer, ""));  // a buffer is its text up to the first zero
}

TEST(SafeLocalFileName, KeepsOrdinaryNames)
{
    EXPECT_EQ(Into(SafeLocalFileName, "report final.pdf"), "report final.pdf");
    EXPECT_EQ(Into(SafeLocalFileName, "...hidden"), "...hidden");
    EXPECT_EQ(Into(SafeLocalFileName, "caf\xe9.txt"), "caf\xe9.txt");
}

TEST(SafeLocalFileName, NeverLeadsOutOfTheChosenFolder)
{
    EXPECT_EQ(Into(SafeLocalFileName, "..\\..\\Windows\\win.ini"), "win.ini");
    EXPECT_EQ(Into(SafeLocalFileName, "../../etc/passwd"), "passwd");
    EXPECT_EQ(Into(SafeLocalFileName, "C:evil.exe"), "evil.exe");
    EXPECT_EQ(Into(SafeLocalFileName, "\\\\server\\share\\x"), "x");
    EXPECT_EQ(Into(SafeLocalFileName, ".."), "");
    EXPECT_EQ(Into(SafeLocalFileName, "."), "");
    EXPECT_EQ(Into(SafeLocalFileName, "dir/"), "");
}

TEST(SafeLocalFileName, ReplacesWildcardsAndControlCharacters)
{
    EXPECT_EQ(Into(SafeLocalFileName, "*.txt"), "_.txt");  // a pattern would turn the chooser into a filter
    EXPECT_EQ(Into(SafeLocalFileName, "a?b\"c<d>e|f"), "a_b_c_d_e_f");
    EXPECT_EQ(Into(SafeLocalFileName, "line\r\nbreak"), "line__break");
}
