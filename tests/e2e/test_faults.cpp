// tests/e2e/test_faults.cpp - a server that refuses, answers oddly or drops the connection:
// the window keeps working, only the failures a person must know of are shown, and no
// partial file is left.
#include "e2e.h"

enum Step { UPLOAD, DOWNLOAD, DELETE_FILE, DELETE_FOLDER };

// Each command with an answer it does not expect, and the text of the message box that the
// answer must bring up (null: none). A reply too long for the program's buffer shows as "".
struct Refusal {
    const char *command;
    Step step;
    const char *reply, *shown;
};
static const std::string kOverlong = "550 " + std::string(600, 'x');
static const Refusal kRefusals[] = {
    {"STOR", UPLOAD, "450 Busy, try again later.", "450 Busy, try again later."},
    {"RETR", DOWNLOAD, "550-Not allowed,\\n550 given on two lines.", "550 given on two lines."},
    {"DELE", DELETE_FILE, "200 Fine, but not what was asked for.", nullptr},
    {"RMD", DELETE_FOLDER, "550-Not allowed,\\n550-for reasons\\n550 given on three lines.", "550 given on three lines."},
    {"RMD", DELETE_FOLDER, kOverlong.c_str(), ""},
};

TEST_F(E2e, RefusedCommandsAndADroppedConnectionLeaveAWorkingWindowAndTheServersContent)
{
    MakeLocalFolder(FtpRootPath("folder"));
    WriteLocalFile(FtpRootPath("file.txt"), "server content");
    WriteLocalFile(Local("up.txt"), std::string(200000, 'u'));
    ASSERT_TRUE(LogIn(&ruvex));
    auto run = [&](Step step) {
        switch (step) {
        case UPLOAD: return Upload(ruvex, Local("up.txt"));
        case DOWNLOAD: return Download(ruvex, "file.txt", Local("down.txt"));
        default: return ClickEntry(ruvex, step == DELETE_FILE ? "file.txt" : "folder") && Press(ruvex, IDC_DELETE);
        }
    };
    for (const Refusal &refusal : kRefusals) {
        const std::string context = std::string(refusal.command) + " answered " + refusal.reply;
        const size_t mark = ClientCommands().size();
        SetServerFaults(std::string(refusal.command) + " reply " + refusal.reply + "\n");
        EXPECT_TRUE(run(refusal.step)) << context;
        EXPECT_GE(CountStartingWith(SentSince(mark), refusal.command), 1u) << context;
        if (refusal.shown == nullptr)
            ExpectNoMessageBox();
        else
            EXPECT_EQ(ErrorBoxText(), refusal.shown) << context;
        EXPECT_EQ(LocalFolderNames(local), Texts{"up.txt"}) << context;
        SetServerFaults("");
        Press(ruvex, IDC_REFRESH);
        EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "folder", "file.txt"})) << context;
        EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/") << context;
    }
    EXPECT_EQ(LocalFolderNames(FtpRootPath()), (Texts{"file.txt", "folder"}));

    // The server closes the connection instead of answering: later commands fail in silence.
    SetServerFaults("DELE drop\n");
    EXPECT_TRUE(run(DELETE_FILE));
    EXPECT_TRUE(Press(ruvex, IDC_REFRESH));
    EXPECT_EQ(ListTexts(ruvex), Texts{kParent});
    EXPECT_TRUE(LocalFileExists(FtpRootPath("file.txt")));
    ExpectNoMessageBox();
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}
