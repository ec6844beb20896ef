// tests/e2e/test_shipped.cpp - the shipped 32-bit ruvex.exe, beside planted system libraries, through a
// session under code page 932, where a character's second byte may be "\" or "|": every step that
// needs no chooser in a first run, the choosers in a second.
#include "e2e.h"

static const char *const kPlanted[] = {"comctl32.dll", "wininet.dll", "comdlg32.dll", "mpr.dll"};
static const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67.txt", kPoHyo = "\x83\x7C\x95\x5C.txt";  // ソフト, ポ表

// mpr.dll is one WinINet imports, which a planted manifest would send to the program's folder.
class Shipped : public E2e {
protected:
    std::string ExeToStart() override
    {
        const std::string exe = local + "\\ruvex.exe";
        CopyFileA(SessionPath("RUVEX_EXE").c_str(), exe.c_str(), FALSE);
        for (const char *name : kPlanted)
            CopyFileA(SessionPath("RUVEX_PLANTED_LIBRARY").c_str(), Local(name).c_str(), FALSE);
        WriteLocalFile(exe + ".manifest", "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion="
                       "\"1.0\"><assemblyIdentity type=\"win32\" name=\"p\" version=\"1.0.0.0\"/><file name=\"mpr.dll\"/></assembly>");
        return exe;
    }
    void TearDown() override
    {
        EndRuvex(&ruvex);
        for (const char *name : kPlanted)
            EXPECT_FALSE(LocalFileExists(Local(name) + ".loaded")) << "the planted " << name << " was loaded";
    }
    const LoadOrder nativeFirst{{"comctl32", "wininet", "comdlg32", "mpr"}, "native,builtin"};
};

TEST_F(Shipped, AWholeSessionWithPlantedLibrariesUnderCodePage932)
{
    ASSERT_EQ(GetACP(), 932u) << "LANG=ja_JP.UTF-8 and its Linux locale give Wine code page 932";
    ASSERT_TRUE(ruvex.is32Bit) << "not the 32-bit program";
    std::string bytes(300000, '\0');
    std::generate(bytes.begin(), bytes.end(), [i = 0u]() mutable { return (char)(i++ * 2654435761u >> 13); });
    WriteLocalFile(Local(kSofuto), bytes);
    WriteLocalFile(Local("old.dat"), "the old file");
    MakeLocalFolder(FtpRootPath("docs"));
    WriteLocalFile(FtpRootPath("docs\\report.pdf"), "pdf");
    WriteLocalFile(FtpRootPath("notes.txt"), "notes");

    // Enter and Escape do nothing in the login window; a refused login keeps the texts typed.
    for (int id : {IDC_SERVER, IDC_USERNAME, IDC_PASSWORD})
        PressKey(GetDlgItem(ruvex.login, id), VK_RETURN), PressKey(GetDlgItem(ruvex.login, id), VK_ESCAPE);
    TypeLogin(ruvex, "127.0.0.1", "ruvex", "wrong");
    EXPECT_EQ(ReadMessageBox(ruvex, "Error!", ruvex.login, 90000),
              "Could not login! Make sure server, username, and password are correct and try again.");
    EXPECT_EQ(ControlText(ruvex.login, IDC_USERNAME) + ControlText(ruvex.login, IDC_PASSWORD), "ruvexwrong");
    ASSERT_TRUE(LogIn(&ruvex, "", ""));  // empty texts log in anonymously
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "docs", "notes.txt"}));

    ASSERT_TRUE(ClickEntry(ruvex, "docs", true));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL) + ListTexts(ruvex).back(), "/docsreport.pdf");
    ASSERT_TRUE(ClickEntry(ruvex, kParent, true));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/");

    // A "|" second byte is no forbidden character; a control character after a lead byte still is.
    ASSERT_TRUE(EditLabel(ruvex, "notes.txt", kPoHyo) && EditLabel(ruvex, kPoHyo, "\x83\r\nDELE x"));
    EXPECT_EQ(ErrorBoxText(), "Invalid file name!");
    EXPECT_GT(FindListEntry(ruvex, kPoHyo), 0);

    // A name longer than the find record fills it with no zero after it: it is cut within it.
    std::string hyos;
    while (hyos.size() < 300)
        hyos += "\x95\x5C";  // 表
    ServeListing({"\x82/..\\..\\\x82\\ev?l.txt", hyos});
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH));
    EXPECT_EQ(ListTexts(ruvex).back(), hyos.substr(0, 258) + "\x81\x45");  // the lead byte left alone: ・

    OpenPrompt(ruvex);  // a prompt still open goes with the main window
    CloseByCloseBox(ruvex.main);
    ASSERT_EQ(WaitForExit(ruvex), 0u);

    // The choosers, in a second run; under qemu-user one, or a call after it, now and then never
    // returns, as for a bare program (README): the session ends, skipped. A server's name cannot steer
    // the save path (each stray lead byte is read with what follows as ・); a double-byte name goes up
    // and back down onto a file that was there, judged by what comes back.
    EndRuvex(&ruvex);
    ASSERT_TRUE(StartRuvex(&ruvex, local + "\\ruvex.exe") && LogIn(&ruvex, "", ""));
    const auto offers = [](HWND chooser, const std::string &name) {  // checked only where it appeared
        if (chooser != nullptr)
            EXPECT_EQ(WindowText(ChooserField(chooser)), name);
        return chooser != nullptr;
    };
    HWND chooser = OpenChooser(ruvex, ListTexts(ruvex)[1]);
    const bool done = offers(chooser, "\x81\x45" "ev_l.txt") && Choose(ruvex, chooser, "", 20000) &&
                      (SetServerFaults(""), PressButton(ruvex.main, IDC_REFRESH), Settle(ruvex.main, 20000)) &&
                      Choose(ruvex, OpenChooser(ruvex, ""), Local(kSofuto), 20000) &&
                      offers(chooser = OpenChooser(ruvex, kSofuto), kSofuto) && Choose(ruvex, chooser, Local("old.dat"), 20000);
    if (!done && std::string(std::getenv("RUVEX_I386") ? std::getenv("RUVEX_I386") : "") == "emulated")
        GTEST_SKIP() << "the emulated chooser, or a call after it, hung";
    ASSERT_TRUE(done);
    EXPECT_TRUE(ReadLocalFile(Local("old.dat")) == bytes) << "not byte for byte";
}
