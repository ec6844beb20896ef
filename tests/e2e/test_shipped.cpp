// tests/e2e/test_shipped.cpp - the ruvex.exe that ships, started once from a folder where files
// named like system libraries were planted, through a whole session as a person uses it, under
// Japanese Windows' code page 932. The other tests may drive a 64-bit build of the same sources;
// only this one shows the 32-bit program: its calls through pointers, its records, its runtime.
#include "e2e.h"

static const char *const kPlanted[] = {"comctl32.dll", "wininet.dll", "comdlg32.dll", "mpr.dll"};
static const std::string kSofuto = "\x83\x5C\x83\x74\x83\x67.txt", kPoHyo = "\x83\x7C\x95\x5C.txt";  // ソフト, ポ表

TEST(Shipped, AWholeSessionWithPlantedLibrariesUnderCodePage932)
{
    ASSERT_EQ(GetACP(), 932u) << "LANG=ja_JP.UTF-8 and its Linux locale give Wine code page 932";
    ResetServer();
    const std::string local = FreshFolder(SessionPath("RUVEX_SESSION_DIR") + "\\local"), exe = local + "\\ruvex.exe";
    ASSERT_TRUE(CopyFileA(SessionPath("RUVEX_EXE").c_str(), exe.c_str(), FALSE));
    // mpr.dll is one WinINet imports, which a planted manifest would send to the program's folder.
    for (const char *name : kPlanted)
        CopyFileA(SessionPath("RUVEX_PLANTED_LIBRARY").c_str(), (local + "\\" + name).c_str(), FALSE);
    WriteLocalFile(exe + ".manifest", "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">"
                   "<assemblyIdentity type=\"win32\" name=\"p\" version=\"1.0.0.0\"/><file name=\"mpr.dll\"/></assembly>");
    std::string bytes;
    for (int i = 0; i < 300000; ++i)
        bytes += (char)(i * 2654435761u >> 13);
    WriteLocalFile(local + "\\" + kSofuto, bytes);
    WriteLocalFile(local + "\\old.dat", "the old file");
    MakeLocalFolder(FtpRootPath("docs"));
    WriteLocalFile(FtpRootPath("docs\\report.pdf"), "pdf");
    WriteLocalFile(FtpRootPath("notes.txt"), "notes");

    const LoadOrder nativeFirst({"comctl32", "wininet", "comdlg32", "mpr"}, "native,builtin");
    Ruvex ruvex = {};
    ASSERT_TRUE(StartRuvex(&ruvex, exe)) << "no login window";
    ASSERT_TRUE(ruvex.is32Bit) << "not the 32-bit program";
    TypeLogin(ruvex, "127.0.0.1", "ruvex", "wrong");
    EXPECT_EQ(ReadMessageBox(ruvex, "Error!", nullptr, 90000),
              "Could not login! Make sure server, username, and password are correct and try again.");
    ASSERT_TRUE(LogIn(&ruvex));
    std::string listed;
    for (const ListEntry &entry : ReadList(ruvex))
        listed += entry.text + " " + std::to_string(entry.image) + ", ";
    EXPECT_EQ(listed, "Up to parent directory 12, docs 0, notes.txt 13, ");
    for (int id : {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE})
        EXPECT_NE(SendDlgItemMessageA(ruvex.main, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "a button has no picture";

    ASSERT_TRUE(ClickEntry(ruvex, "docs", true));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/docs");
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "report.pdf"}));
    ASSERT_TRUE(ClickEntry(ruvex, kParent, true));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/");

    ASSERT_TRUE(AnswerPrompt(ruvex, OpenPrompt(ruvex), "Reports"));
    ASSERT_TRUE(EditLabel(ruvex, "notes.txt", kPoHyo));
    WriteLocalFile(FtpRootPath("old.txt"), "x");
    ASSERT_TRUE(Press(ruvex, IDC_REFRESH) && ClickEntry(ruvex, "old.txt") && Press(ruvex, IDC_DELETE));
    Texts listedNow = ListTexts(ruvex);
    std::sort(listedNow.begin() + 1, listedNow.end());
    EXPECT_EQ(listedNow, (Texts{kParent, "Reports", "docs", kPoHyo}));
    ASSERT_TRUE(ClickEntry(ruvex, "docs"));
    PressButton(ruvex.main, IDC_DELETE);
    EXPECT_EQ(ReadMessageBox(ruvex, "Error", ruvex.main), "550 Directory not empty.");

    // A double-byte name up and back down, onto a file that was there. (The server keeps the
    // name's bytes, which no Windows path names, so the file is judged by what comes back.)
    // Under qemu-user the chooser, or the transfer right after it, now and then never returns,
    // as it does for a bare program that makes the same calls (README): there that is the
    // emulator's, and the session ends here.
    const char *i386 = std::getenv("RUVEX_I386");
    const bool emulated = i386 != nullptr && std::string(i386) == "emulated";
    const auto transfer = [&](HWND chooser, const std::string &path) {
        return chooser != nullptr && (ChooseInFileDialog(chooser, path), WaitForWindowGone(chooser)) &&
               Settle(ruvex.main, 20000);
    };
    const auto endAndCheckPlanted = [&] {
        EndRuvex(&ruvex);
        for (const char *name : kPlanted)
            EXPECT_FALSE(LocalFileExists(local + "\\" + name + ".loaded")) << "the planted " << name << " was loaded";
    };
    if (!transfer(OpenChooser(ruvex, ""), local + "\\" + kSofuto) && emulated) {
        endAndCheckPlanted();
        GTEST_SKIP() << "the emulated chooser or upload hung";
    }
    HWND chooser = OpenChooser(ruvex, kSofuto);
    EXPECT_EQ(ChooserName(chooser), kSofuto);
    if (!transfer(chooser, local + "\\old.dat") && emulated) {
        endAndCheckPlanted();
        GTEST_SKIP() << "the emulated chooser or download hung";
    }
    EXPECT_TRUE(ReadLocalFile(local + "\\old.dat") == bytes) << "not byte for byte";

    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex, 60000), 0u);
    endAndCheckPlanted();
}
