// tests/e2e/test_file_ops.cpp - the file commands against a real server, read back from its files and log.
#include "e2e.h"

// A transfer lands where it should, a failed one says why, and a local file that was there stays whole.
TEST_F(E2e, TransfersLandWhereTheyShouldOrSayWhyNotAndKeepTheLocalFile)
{
    const std::string down(300000, 'd');
    MakeLocalFolder(Local("v1.0"));
    WriteLocalFile(Local("old.dat"), "old");
    MakeLocalFolder(FtpRootPath("sub"));
    WriteLocalFile(FtpRootPath("sub\\big.dat"), down);
    ASSERT_TRUE(LogIn(&ruvex) && ClickEntry(ruvex, "sub", true));

    // Cancelled choosers send nothing; nor does a name of no file, which the open chooser refuses.
    const size_t mark = ClientCommands().size();
    ASSERT_TRUE(Choose(ruvex, OpenChooser(ruvex, ""), "") && Choose(ruvex, OpenChooser(ruvex, "big.dat"), ""));
    HWND chooser = OpenChooser(ruvex, "");
    ChooseInFileDialog(chooser, Local("none.txt"));
    EXPECT_NE(ReadMessageBox(ruvex, "", nullptr, 5000), "<no message box>") << "the chooser took a name of no file";
    ASSERT_TRUE(Choose(ruvex, chooser, ""));
    EXPECT_EQ(SentSince(mark), Texts());
    const size_t download = ClientCommands().size();
    ASSERT_TRUE(Download(ruvex, "big.dat", Local("old.dat")));
    ExpectNoMessageBox();
    EXPECT_TRUE(ReadLocalFile(Local("old.dat")) == down);
    EXPECT_EQ(CountStartingWith(SentSince(download), "LIST"), 0u) << "a download reloaded the listing";

    // The path picked is taken, or none: a folder named in fullwidth letters is no "Docs",
    // whose file the chooser's best-fit ANSI path would replace.
    MakeLocalFolder(Local("v1.0\\Docs"));
    WriteLocalFile(Local("v1.0\\Docs\\big.dat"), "keep");
    const std::wstring fullwidth = std::wstring(local.begin(), local.end()) + L"\\v1.0\\\xFF24\xFF4F\xFF43\xFF53";
    CreateDirectoryW(fullwidth.c_str(), nullptr);
    chooser = OpenChooser(ruvex, "big.dat");
    SendMessageW(ChooserField(chooser), WM_SETTEXT, 0, (LPARAM)(fullwidth + L"\\big.dat").c_str());
    PressButton(chooser, IDOK);
    EXPECT_EQ(ErrorBoxText(), "This path holds characters that the system's code page cannot hold exactly.");
    EXPECT_EQ(ReadLocalFile(Local("v1.0\\Docs\\big.dat")), "keep");

    // A temporary name fits beside the file in a folder of 245 characters; one more, and the download
    // goes straight to the path where there is no file to lose, and a short one is not left there.
    const std::string fits = Local("v1.0\\" + std::string(239 - local.size(), 'f')), deep = fits + "g";
    for (const std::string &folder : {fits, deep})
        MakeLocalFolder(folder), WriteLocalFile(folder + "\\old", "old");
    ASSERT_TRUE(Download(ruvex, "big.dat", fits + "\\old") && Download(ruvex, "big.dat", deep + "\\new"));
    ExpectNoMessageBox();
    EXPECT_TRUE(ReadLocalFile(fits + "\\old") == down && ReadLocalFile(deep + "\\new") == down);
    ASSERT_TRUE(Download(ruvex, "big.dat", deep + "\\old"));
    EXPECT_EQ(ErrorBoxText(), "The download did not complete.");
    WriteLocalFile(SessionPath("RUVEX_SESSION_DIR") + "\\short", down.substr(0, 100000));
    SetServerFaults("RETR raw short\n");
    ASSERT_TRUE(Download(ruvex, "big.dat", deep + "\\x"));
    EXPECT_EQ(ErrorBoxText(), "The download did not complete.");
    EXPECT_EQ(LocalFolderNames(deep), (Texts{"new", "old"}));
    EXPECT_EQ(ReadLocalFile(deep + "\\old"), "old");

    // The server's refusal is shown only when it refused, never a reply left over for a later failure.
    // An upload the server kept half of, answering 226, shows by the size the reloaded listing gives.
    SetServerFaults("RETR reply 550 Gone.\nSTOR reply 553 Not allowed here.\n");
    ASSERT_TRUE(Download(ruvex, "big.dat", Local("old.dat")));
    EXPECT_EQ(ErrorBoxText(), "550 Gone.");
    ASSERT_TRUE(Upload(ruvex, Local("old.dat")));
    EXPECT_EQ(ErrorBoxText(), "553 Not allowed here.");
    HANDLE held = CreateFileA(Local("old.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(Upload(ruvex, Local("old.dat")));
    EXPECT_EQ(ErrorBoxText(), "The upload did not complete.") << "a local failure";
    CloseHandle(held);
    SetServerFaults("STOR half\n");
    ASSERT_TRUE(Upload(ruvex, Local("old.dat")));
    EXPECT_EQ(ErrorBoxText(), "The upload did not complete.");

    // A file that shrank since it was listed is judged short once, and not put in place, then by
    // its new size. Nothing is put in place when the old file is held open, or the connection drops.
    SetServerFaults("");
    WriteLocalFile(FtpRootPath("sub\\big.dat"), "shrunk");
    for (const char *box : {"The download did not complete.", "<no message box>"}) {
        ASSERT_TRUE(Download(ruvex, "big.dat", Local("new.dat")));
        EXPECT_EQ(ReadMessageBox(ruvex, "Error", ruvex.main, 1000), box);
    }
    EXPECT_EQ(ReadLocalFile(Local("new.dat")), "shrunk");
    WriteLocalFile(FtpRootPath("sub\\big.dat"), down);
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH));
    const char *const faultsAndBoxes[][2] = {{"", "The download did not complete."},
                                             {"RETR drop\n", "The connection to the server was lost."}};
    for (const auto &faultAndBox : faultsAndBoxes) {
        SetServerFaults(faultAndBox[0]);
        held = CreateFileA(Local("old.dat").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_TRUE(Download(ruvex, "big.dat", Local("old.dat")));
        EXPECT_EQ(ErrorBoxText(), faultAndBox[1]) << faultAndBox[0];
        CloseHandle(held);
    }
    ASSERT_TRUE(Upload(ruvex, Local("old.dat")));  // the connection is gone: said once, not again by a reload
    EXPECT_EQ(ErrorBoxText(), "The connection to the server was lost.");
    ExpectNoMessageBox();
    EXPECT_TRUE(ReadLocalFile(Local("old.dat")) == down);
    EXPECT_EQ(LocalFolderNames(local), (Texts{"new.dat", "old.dat", "v1.0"})) << "a temporary file was left";
}

// New folder, delete and rename send what was typed, on a real entry: the one selected, never the parent.
TEST_F(E2e, FolderDeleteAndRenameSendOnlyWhatTheyShouldAndShowRefusals)
{
    WriteLocalFile(FtpRootPath("old.txt"), "content");
    WriteLocalFile(FtpRootPath("second.txt"), "second");
    MakeLocalFolder(FtpRootPath("a"));
    MakeLocalFolder(FtpRootPath("Empty"));
    MakeLocalFolder(FtpRootPath("Full"));
    WriteLocalFile(FtpRootPath("Full\\inner.txt"), "x");
    ASSERT_TRUE(LogIn(&ruvex));

    // A new folder's name is trimmed and sent; the server judges it.
    ASSERT_TRUE(AnswerPrompt(ruvex, OpenPrompt(ruvex), "  a/Reports  "));
    EXPECT_EQ(CountStartingWith(ClientCommands(), "MKD a/Reports"), 1u);

    // The close box, blanks and a line break (sent raw, it would start a second command) create nothing.
    size_t mark = ClientCommands().size();
    HWND prompt = OpenPrompt(ruvex);
    SetControlText(prompt, IDC_PROMPT_EDIT, "Typed");
    CloseByCloseBox(prompt);
    ASSERT_TRUE(WaitForWindowGone(prompt) && AnswerPrompt(ruvex, OpenPrompt(ruvex), "    "));
    prompt = OpenPrompt(ruvex);
    SetControlText(prompt, IDC_PROMPT_EDIT, "new\r\nDELE x");
    PressButton(prompt, IDC_PROMPT_OK);
    EXPECT_EQ(ErrorBoxText(), "Invalid file name!");
    EXPECT_EQ(CountStartingWith(SentSince(mark), "MKD"), 0u);
    EXPECT_EQ(CountStartingWith(SentSince(mark), "LIST"), 3u);

    // A second prompt opened from the main window while the first is open: each sends its own.
    HWND outer = OpenPrompt(ruvex);
    SetControlText(outer, IDC_PROMPT_EDIT, "alpha");
    HWND inner = OpenPrompt(ruvex, outer);
    PressButton(outer, IDC_PROMPT_OK);
    ASSERT_TRUE(AnswerPrompt(ruvex, inner, "beta") && WaitForWindowGone(outer) && Settle(ruvex.main));
    EXPECT_EQ(CountStartingWith(ClientCommands(), "MKD alpha") + 2 * CountStartingWith(ClientCommands(), "MKD beta"), 3u);

    ASSERT_TRUE(ClickEntry(ruvex, "Empty") && Press(ruvex, IDC_DELETE));  // removed, then relisted
    EXPECT_EQ(FindListEntry(ruvex, "Empty"), -1);
    ASSERT_TRUE(ClickEntry(ruvex, "Full"));
    mark = ClientCommands().size();
    PressButton(ruvex.main, IDC_DELETE);
    EXPECT_EQ(ErrorBoxText(), "550 Directory not empty.");  // the server's own words
    EXPECT_EQ(SentSince(mark), Texts{"RMD Full"}) << "reloaded after a refusal";

    // The label is sent as typed, blanks kept; a refused rename shows the old name again.
    ASSERT_TRUE(EditLabel(ruvex, "old.txt", "new.txt") && EditLabel(ruvex, "second.txt", "  padded.txt  "));
    EXPECT_EQ(ReadLocalFile(FtpRootPath("new.txt")) + ReadLocalFile(FtpRootPath("  padded.txt  ")), "contentsecond");
    SetServerFaults("RNTO reply 550 No.\n");
    mark = ClientCommands().size();
    ASSERT_TRUE(EditLabel(ruvex, "new.txt", "newer.txt"));
    ExpectNoMessageBox();
    EXPECT_EQ(CountStartingWith(SentSince(mark), "LIST"), 1u);
    EXPECT_GT(FindListEntry(ruvex, "new.txt"), 0);

    // Nothing is sent for a refused name, a cancelled or blank edit, the parent entry, a deselected entry.
    mark = ClientCommands().size();
    for (const char *name : {"a:b.txt", "dir\\new.txt", "new\r\nDELE x"}) {
        ASSERT_TRUE(EditLabel(ruvex, "new.txt", name));
        EXPECT_EQ(ErrorBoxText(), "Invalid file name!");
    }
    ASSERT_TRUE(EditLabel(ruvex, "new.txt", "other.txt", VK_ESCAPE) && EditLabel(ruvex, "new.txt", "   "));
    ASSERT_TRUE(EditLabel(ruvex, kParent, "hijacked") && ClickEntry(ruvex, kParent) && Press(ruvex, IDC_DELETE));
    ASSERT_TRUE(ClickEntry(ruvex, "new.txt"));
    ClickListItem(ruvex, -1);
    Press(ruvex, IDC_DELETE);
    ExpectNoMessageBox();
    EXPECT_EQ(SentSince(mark), Texts());

    // A listing that fails is no empty folder: the list holds the parent entry alone, under the
    // reason. A connection the server closed is said once a command, and found by a refresh too.
    SetServerFaults("PORT reply 500 Illegal PORT command.\n");
    PressButton(ruvex.main, IDC_REFRESH);
    EXPECT_EQ(ErrorBoxText(), "500 Illegal PORT command.");
    EXPECT_EQ(ListTexts(ruvex), Texts{kParent});
    SetServerFaults("RMD drop\n");
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH) && ClickEntry(ruvex, "Full"));
    for (int command : {IDC_DELETE, IDC_REFRESH}) {
        PressButton(ruvex.main, command);
        EXPECT_EQ(ErrorBoxText(), "The connection to the server was lost.");
    }
    ExpectNoMessageBox();  // one box a command: a reload that would say it again is left out
    EXPECT_EQ(ListTexts(ruvex), Texts{kParent});

    OpenPrompt(ruvex);  // a prompt still open goes with the main window
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}

// Under the UTF-8 code page too (run apart, under LANG=hi_IN.UTF-8) names travel whole; a command
// sends the name listed, also where the list shows another, never the entry named by a long name's
// prefix, and nothing for a name cut to the find record (maybe another entry's). No typed name
// smuggles in a command, no server's name leads a download out of the chosen folder.
TEST_F(E2e, ServerChosenNamesUnderTheUtf8CodePage)
{
    ASSERT_EQ(GetACP(), 65001u) << "LANG=hi_IN.UTF-8 and its Linux locale give Wine code page 65001";
    const std::string cafe = "caf\xC3\xA9.txt", report = "\xD0\xBE\xD1\x82\xD1\x87\xD1\x91\xD1\x82.txt";  // café, отчёт
    const std::string naive = "na\xC3\xAFve.txt", folder = "\xD0\x9F\xD0\xB0\xD0\xBF\xD0\xBA\xD0\xB0";    // naïve, Папка
    WriteLocalFile(FtpRootPath(cafe), "coffee");
    WriteLocalFile(Local(report), "report");
    ASSERT_TRUE(LogIn(&ruvex));
    HWND chooser = OpenChooser(ruvex, cafe);
    EXPECT_EQ(WindowText(ChooserField(chooser)), cafe);
    ASSERT_TRUE(Choose(ruvex, chooser, Local(cafe)) && Upload(ruvex, Local(report)));
    ASSERT_TRUE(EditLabel(ruvex, cafe, naive) && AnswerPrompt(ruvex, OpenPrompt(ruvex), folder));
    EXPECT_EQ(ReadLocalFile(Local(cafe)) + ReadLocalFile(FtpRootPath(report)), "coffeereport");
    EXPECT_EQ(LocalFolderNames(FtpRootPath()), (Texts{naive, folder, report}));
    ASSERT_TRUE(EditLabel(ruvex, naive, "x\r\nDELE " + report));
    EXPECT_EQ(ErrorBoxText(), "Invalid file name!");
    SetShownText(ruvex, FindListEntry(ruvex, naive), "shown.txt");
    ASSERT_TRUE(ClickEntry(ruvex, "shown.txt") && Press(ruvex, IDC_DELETE));
    EXPECT_EQ(LocalFolderNames(FtpRootPath()), (Texts{folder, report}));

    const std::string longName = std::string(254, 'n') + ".bin", prefix = longName.substr(0, 255), cut(259, 'c');
    ServeListing({prefix, longName, cut + "ut.txt", cut + "/", "..\\..\\\xC3\xA9v?l.txt"});
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH));
    chooser = OpenChooser(ruvex, ListTexts(ruvex).back());
    EXPECT_EQ(WindowText(ChooserField(chooser)), "\xC3\xA9v_l.txt");
    ASSERT_TRUE(Choose(ruvex, chooser, "") && Download(ruvex, longName, Local("long.bin")));
    ErrorBoxText();  // the listing was made up: the server has no such file
    ASSERT_TRUE(EditLabel(ruvex, longName, "renamed.bin") && ClickEntry(ruvex, longName));
    Press(ruvex, IDC_DELETE);
    for (const char *command : {"RETR ", "RNFR ", "DELE "}) {
        EXPECT_EQ(CountStartingWith(ClientCommands(), command + longName), 1u) << command;
        EXPECT_EQ(CountStartingWith(ClientCommands(), command + prefix), 1u) << command;
    }
    const size_t mark = ClientCommands().size();
    ClickListItem(ruvex, 4, true);  // the cut file, whose text is the cut folder's, listed first
    EXPECT_EQ(ErrorBoxText(), "The download did not complete.");
    ASSERT_TRUE(ClickEntry(ruvex, cut, true) && EditLabel(ruvex, cut, "renamed") && ClickEntry(ruvex, cut));
    Press(ruvex, IDC_DELETE);
    EXPECT_EQ(SentSince(mark), Texts());
}
