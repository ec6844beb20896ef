// tests/e2e/test_faults.cpp - a server that refuses, answers oddly or drops the connection:
// the window keeps working, nothing crashes, and no partial file passes for a whole one.
#include "e2e.h"

#include <algorithm>

// Answers that refuse a command, each as a fault rule's text (\n separates reply lines). A bare
// code with no text is left out: the library does not take it for a reply and waits 30 s for
// one before it fails.
struct Refusal {
    const char *rule;
    const char *lastLine;  // what the library keeps of it: the last line
};
static const Refusal kRefusals[] = {
    {"450 Busy, try again later.", "450 Busy, try again later."},
    {"550 Not allowed.", "550 Not allowed."},
    {"550-Not allowed,\\n550-for reasons\\n550 given on three lines.", "550 given on three lines."},
    {"200 Fine, but not what was asked for.", "200 Fine, but not what was asked for."},
    {"999 Out of range.", "999 Out of range."},
    {"No code at all.", "No code at all."},
};

// What the client does to make the server see a command.
enum class Step { Refresh, ChangeDirectory, Upload, Download, DeleteFile, DeleteFolder, NewFolder, Rename };

struct RefusedCommand {
    const char *command;
    Step step;
    const char *successCode;  // the answer that accepts the command, which is no refusal; or ""
};

static std::string Lines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

class FaultsTest : public RuvexTest {
protected:
    void SetUp() override
    {
        RuvexTest::SetUp();
        local = FreshScratchFolder("local");
        MakeLocalFolder(FtpRootPath("folder"));
        WriteLocalFile(FtpRootPath("file.txt"), "server content");
        WriteLocalFile(local + "\\up.txt", std::string(200000, 'u'));
    }

    // The server's root as the window should show it.
    const std::vector<std::string> kServerListing = {"Up to parent directory", "folder", "file.txt"};

    void Run(Step step)
    {
        switch (step) {
        case Step::Refresh:
            PressButton(main, IDC_REFRESH);
            Settle(main);
            break;
        case Step::ChangeDirectory:
            DoubleClickListItem(ruvex, list, FindListEntry(ruvex, list, "folder"));
            Settle(main);
            break;
        case Step::Upload:
            EXPECT_TRUE(UploadThroughChooser(ruvex, main, local + "\\up.txt"));
            break;
        case Step::Download:
            EXPECT_TRUE(DownloadThroughChooser(ruvex, main, "file.txt", local + "\\down.txt"));
            break;
        case Step::DeleteFile:
            EXPECT_TRUE(DeleteListEntry(ruvex, main, "file.txt"));
            break;
        case Step::DeleteFolder:
            EXPECT_TRUE(DeleteListEntry(ruvex, main, "folder"));
            break;
        case Step::NewFolder:
            EXPECT_TRUE(AnswerFolderPrompt(ruvex, main, "made"));
            break;
        case Step::Rename:
            EXPECT_TRUE(EditListLabel(ruvex, main, "file.txt", "renamed.txt", VK_RETURN));
            break;
        }
    }

    // A refresh with the server behaving again shows the server's content, and the program is alive.
    void ExpectWorkingWindow(const std::string &context)
    {
        ASSERT_TRUE(Responds(main)) << context;
        SetServerFaults("");
        PressButton(main, IDC_REFRESH);
        Settle(main);
        EXPECT_EQ(ListTexts(ruvex, list), kServerListing) << context;
        EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/") << context;
        EXPECT_EQ(WaitForExit(ruvex, 0), STILL_ACTIVE) << context;
    }

    // Closing the window still ends the program normally.
    void ExpectNormalClose()
    {
        CloseByCloseBox(main);
        EXPECT_EQ(WaitForExit(ruvex), 0u);
    }

    std::string local;
};

class RefusedCommandTest : public FaultsTest, public testing::WithParamInterface<RefusedCommand> {};

// Every refusal of the command, one after another in one session.
TEST_P(RefusedCommandTest, LeavesAWorkingWindowAndTheServersContent)
{
    const RefusedCommand refused = GetParam();
    ASSERT_NE(LogIn(), nullptr);
    for (const Refusal &refusal : kRefusals) {
        if (*refused.successCode != '\0' && std::string(refusal.rule).rfind(refused.successCode, 0) == 0)
            continue;
        const std::string context = std::string(refused.command) + " answered \"" + refusal.rule + "\"";
        const size_t mark = ClientCommands().size();
        SetServerFaults(std::string(refused.command) + " reply " + refusal.rule + "\n");
        Run(refused.step);
        const std::vector<std::string> sent = ClientCommandsFrom(mark);
        EXPECT_GE(CountStartingWith(sent, refused.command), 1u) << context << "\n" << Lines(sent);

        MessageBoxSeen box = {};
        if (refused.step == Step::DeleteFolder) {
            ASSERT_TRUE(WaitForMessageBox(ruvex, &box)) << context;
            EXPECT_EQ(box.caption, "Error");
            EXPECT_EQ(box.owner, main);
            EXPECT_NE(box.text.find(refusal.lastLine), std::string::npos) << context << ": " << box.text;
            DismissMessageBox(box);
        } else {
            EXPECT_FALSE(WaitForMessageBox(ruvex, &box, 300)) << context << ": " << box.text;
        }
        EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>{"up.txt"}) << context;
        ExpectWorkingWindow(context);
    }
    EXPECT_EQ(LocalFolderNames(FtpRootPath()), (std::vector<std::string>{"file.txt", "folder"}));
    ExpectNormalClose();
}

INSTANTIATE_TEST_SUITE_P(Commands, RefusedCommandTest,
                         testing::Values(RefusedCommand{"PWD", Step::Refresh, ""},
                                         RefusedCommand{"TYPE", Step::Refresh, "200"},
                                         RefusedCommand{"PORT", Step::Refresh, "200"},
                                         RefusedCommand{"LIST", Step::Refresh, ""},
                                         RefusedCommand{"CWD", Step::ChangeDirectory, ""},
                                         RefusedCommand{"STOR", Step::Upload, ""},
                                         RefusedCommand{"RETR", Step::Download, ""},
                                         RefusedCommand{"DELE", Step::DeleteFile, ""},
                                         RefusedCommand{"RMD", Step::DeleteFolder, ""},
                                         RefusedCommand{"MKD", Step::NewFolder, ""},
                                         RefusedCommand{"RNFR", Step::Rename, ""},
                                         RefusedCommand{"RNTO", Step::Rename, ""}),
                         [](const testing::TestParamInfo<RefusedCommand> &info) {
                             return std::string(info.param.command);
                         });

// A refusal too long for the response buffer loses its text, but not the message: the
// person still learns that the folder was not removed.
TEST_F(FaultsTest, OverlongRefusalOfAFolderRemovalStillShowsTheErrorBox)
{
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RMD reply 550 " + std::string(600, 'x') + "\n");
    ASSERT_TRUE(DeleteListEntry(ruvex, main, "folder"));
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.owner, main);
    EXPECT_TRUE(box.text.empty() || box.text.rfind("550 xxx", 0) == 0) << box.text;
    DismissMessageBox(box);
    ExpectWorkingWindow("after an overlong refusal");
    ExpectNormalClose();
}

// ---- The connection dropped ----

// The server closes the control connection instead of answering: later commands fail in
// silence (the list keeps only the parent entry), but the window works and closes normally.
TEST_F(FaultsTest, DroppedConnectionLeavesAWorkingWindow)
{
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("DELE drop\n");
    ASSERT_TRUE(DeleteListEntry(ruvex, main, "file.txt"));
    EXPECT_TRUE(Responds(main));
    EXPECT_TRUE(LocalFileExists(FtpRootPath("file.txt")));
    PressButton(main, IDC_REFRESH);
    Settle(main);
    EXPECT_TRUE(Responds(main));
    EXPECT_EQ(ListTexts(ruvex, list), std::vector<std::string>{"Up to parent directory"});
    MessageBoxSeen box = {};
    EXPECT_FALSE(WaitForMessageBox(ruvex, &box, 300)) << box.text;
    ExpectNormalClose();
}

// A listing cut off part-way never shows an entry the server does not have.
TEST_F(FaultsTest, ListingDroppedPartWayLeavesAWorkingWindow)
{
    for (const char *name : {"a.txt", "b.txt", "c.txt", "d.txt"})
        WriteLocalFile(FtpRootPath(name), name);
    SetServerFaults("LIST drop-after 2\n");
    ASSERT_NE(LogIn(), nullptr);
    EXPECT_TRUE(Responds(main));
    const std::vector<std::string> shown = ListTexts(ruvex, list);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], "Up to parent directory");
    const std::vector<std::string> onServer = LocalFolderNames(FtpRootPath());
    for (size_t i = 1; i < shown.size(); ++i)
        EXPECT_NE(std::find(onServer.begin(), onServer.end(), shown[i]), onServer.end()) << shown[i];
    ExpectNormalClose();
}

TEST_F(FaultsTest, UploadDroppedPartWayLeavesAWorkingWindow)
{
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("STOR drop-after-bytes 65536\n");
    EXPECT_TRUE(UploadThroughChooser(ruvex, main, local + "\\up.txt"));
    EXPECT_TRUE(Responds(main));
    EXPECT_EQ(CountCommandsStartingWith("STOR up.txt"), 1u);
    // The server keeps what arrived; the window does not list it as uploaded.
    EXPECT_EQ(FindListEntry(ruvex, list, "up.txt"), -1);
    ExpectNormalClose();
}

TEST_F(FaultsTest, DownloadDroppedPartWayLeavesNoFileAndAWorkingWindow)
{
    WriteLocalFile(FtpRootPath("big.bin"), std::string(1 << 20, 'b'));
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RETR drop-after-bytes 65536\n");
    EXPECT_TRUE(DownloadThroughChooser(ruvex, main, "big.bin", local + "\\big.bin"));
    EXPECT_TRUE(Responds(main));
    EXPECT_EQ(CountCommandsStartingWith("RETR big.bin"), 1u);
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>{"up.txt"});
    ExpectNormalClose();
}
