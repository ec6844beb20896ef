// tests/e2e/test_double_byte.cpp - names on Japanese Windows, run with its code page 932, where
// the second byte of a character may be "\" or "|", against a server that keeps names as bytes.
#include "e2e.h"

static const std::string kHyo = "\x95\x5C.txt", kSofuto = "\x83\x5C\x83\x74\x83\x67.txt",
                         kPoHyo = "\x83\x7C\x95\x5C.txt";  // 表.txt, ソフト.txt, ポ表.txt

TEST_F(E2e, NamesAreSplitAndCheckedByCharacterInCodePage932)
{
    ASSERT_EQ(GetACP(), 932u) << "LANG=ja_JP.UTF-8 and its Linux locale give Wine code page 932";
    MakeLocalFolder(Local("saved"));
    WriteLocalFile(Local(kHyo), "hyo");
    WriteLocalFile(Local(kSofuto), "sofuto");
    WriteLocalFile(FtpRootPath("plain.txt"), "plain");
    ASSERT_TRUE(LogIn(&ruvex));

    ASSERT_TRUE(Upload(ruvex, Local(kHyo)) && Upload(ruvex, Local(kSofuto)));
    EXPECT_EQ(CountStartingWith(ClientCommands(), "STOR " + kHyo), 1u);
    HWND chooser = OpenChooser(ruvex, kSofuto);
    EXPECT_EQ(ChooserName(chooser), kSofuto);
    ASSERT_TRUE(Choose(ruvex, chooser, Local("saved\\" + kSofuto)));
    ExpectNoMessageBox();
    EXPECT_EQ(ReadLocalFile(Local("saved\\" + kSofuto)), "sofuto");
    ASSERT_TRUE(EditLabel(ruvex, "plain.txt", kPoHyo));
    ExpectNoMessageBox();
    EXPECT_EQ(CountStartingWith(ClientCommands(), "RNTO " + kPoHyo), 1u);

    // A control character after a lead byte is still refused. A server's name cannot steer the
    // save path: the library reads each stray lead byte with what follows as one character, ・.
    // A name longer than the find record fills it with no zero after it: it is cut within it.
    ASSERT_TRUE(EditLabel(ruvex, kPoHyo, "\x83\r\nDELE " + kHyo));
    EXPECT_EQ(ErrorBoxText(), "Invalid file name!");
    std::string hyos;
    while (hyos.size() < 300)
        hyos += "\x95\x5C";
    ServeListing({"\x82/..\\..\\\x82\\evil.txt", hyos});
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH));
    EXPECT_EQ(ListTexts(ruvex).back(), hyos.substr(0, 258) + "\x81\x45");  // the lead byte left alone: ・
    chooser = OpenChooser(ruvex, ListTexts(ruvex)[1]);
    EXPECT_EQ(ChooserName(chooser), "\x81\x45" "evil.txt");
    ASSERT_TRUE(Choose(ruvex, chooser, ""));
}
