// tests/e2e/test_file_ops.cpp - the commands on remote entries against a real server:
// upload, download, new folder, delete and rename.
#include "e2e.h"

#include <algorithm>

#include "../../browser/file_types.h"

// Every byte value, then line ends in every combination a text-mode transfer would change.
static std::string EveryByteAndLineEnds()
{
    std::string bytes;
    for (int round = 0; round < 4; ++round)
        for (int value = 0; value < 256; ++value)
            bytes += (char)value;
    bytes += "a\rb\nc\r\nd\n\re\r\r\nf\n\n\r\r";
    return bytes;
}

// `size` bytes that repeat nowhere near a block boundary.
static std::string PseudoRandomBytes(size_t size, unsigned seed)
{
    std::string bytes(size, '\0');
    for (char &byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = (char)(seed >> 16);
    }
    return bytes;
}

static std::string FileBytes(const std::string &path)
{
    std::string bytes;
    return ReadLocalFile(path, &bytes) ? bytes : std::string("<missing>");
}

static std::string Lines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\n";
    return text;
}

static bool Contains(const std::vector<std::string> &texts, const std::string &text)
{
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

class FileOpsTest : public RuvexTest {
protected:
    void SetUp() override
    {
        RuvexTest::SetUp();
        local = FreshScratchFolder("local");
    }

    std::string LocalPath(const std::string &name) const { return local + "\\" + name; }

    void Upload(const std::string &path) { ASSERT_TRUE(UploadThroughChooser(ruvex, main, path)); }

    HWND StartDownload(const std::string &name)
    {
        HWND chooser = OpenSaveChooserFor(ruvex, main, name);
        EXPECT_NE(chooser, nullptr) << "no save chooser for " << name;
        return chooser;
    }

    void Download(const std::string &name, const std::string &localPath)
    {
        ASSERT_TRUE(DownloadThroughChooser(ruvex, main, name, localPath)) << name;
    }

    HWND OpenPrompt()
    {
        HWND prompt = OpenFolderPrompt(ruvex, main);
        EXPECT_NE(prompt, nullptr) << "the folder prompt did not appear";
        return prompt;
    }

    void AnswerPrompt(const std::string &text) { ASSERT_TRUE(AnswerFolderPrompt(ruvex, main, text)); }
    void SelectEntry(const std::string &name) { ASSERT_TRUE(SelectListEntry(ruvex, main, name)) << name; }
    void DeleteEntry(const std::string &name) { ASSERT_TRUE(DeleteListEntry(ruvex, main, name)) << name; }

    void EditLabel(const std::string &name, const std::string &text, UINT key)
    {
        ASSERT_TRUE(EditListLabel(ruvex, main, name, text, key)) << name;
    }

    // Expects the browser's "Error" message box, owned by the main window, with `text`; dismisses it.
    void ExpectErrorBox(const std::string &text)
    {
        MessageBoxSeen box = {};
        ASSERT_TRUE(WaitForMessageBox(ruvex, &box)) << "no message box for: " << text;
        EXPECT_EQ(box.caption, "Error");
        EXPECT_EQ(box.text, text);
        EXPECT_EQ(box.owner, main);
        DismissMessageBox(box);
        Settle(main);
    }

    void ExpectNoMessageBox()
    {
        MessageBoxSeen box = {};
        EXPECT_FALSE(WaitForMessageBox(ruvex, &box, 500)) << "unexpected message box: " << box.text;
    }

    std::string local;
};

// ---- Upload ----

TEST_F(FileOpsTest, UploadLandsInTheCurrentFolderUnderTheLocalBaseNameByteForByte)
{
    MakeLocalFolder(LocalPath("v1.0"));
    const std::string bytes = EveryByteAndLineEnds() + PseudoRandomBytes(1 << 20, 7);
    WriteLocalFile(LocalPath("v1.0\\notes"), bytes);
    MakeLocalFolder(FtpRootPath("sub"));
    ASSERT_NE(LogIn(), nullptr);
    DoubleClickListItem(ruvex, list, FindListEntry(ruvex, list, "sub"));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/sub"; }));
    Settle(main);

    const size_t mark = ClientCommands().size();
    Upload(LocalPath("v1.0\\notes"));
    const std::vector<std::string> sent = ClientCommandsFrom(mark);
    EXPECT_TRUE(Contains(sent, "TYPE I"));
    EXPECT_TRUE(Contains(sent, "STOR notes"));
    EXPECT_EQ(FileBytes(FtpRootPath("sub\\notes")), bytes);
    EXPECT_GE(FindListEntry(ruvex, list, "notes"), 0) << "the listing was not reloaded";
}

TEST_F(FileOpsTest, CancellingTheOpenChooserSendsNothing)
{
    WriteLocalFile(FtpRootPath("a.txt"), "a");
    ASSERT_NE(LogIn(), nullptr);
    const size_t mark = ClientCommands().size();
    PressButton(main, IDC_UPLOAD);
    HWND chooser = WaitForWindow(ruvex, "Select file");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(FileDialogName(chooser), "");
    CancelFileDialog(chooser);
    ASSERT_TRUE(WaitForWindowGone(chooser));
    Settle(main);
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>());
    EXPECT_EQ(ListTexts(ruvex, list), (std::vector<std::string>{"Up to parent directory", "a.txt"}));
}

// ---- Download ----

TEST_F(FileOpsTest, DownloadArrivesByteForByteAndDoesNotReload)
{
    const std::string lineEnds = EveryByteAndLineEnds();
    const std::string big = PseudoRandomBytes(5 << 20, 11);
    WriteLocalFile(FtpRootPath("bytes.bin"), lineEnds);
    WriteLocalFile(FtpRootPath("big.dat"), big);
    ASSERT_NE(LogIn(), nullptr);

    HWND chooser = StartDownload("bytes.bin");
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(FileDialogName(chooser), "bytes.bin");
    const size_t mark = ClientCommands().size();
    ChooseInFileDialog(chooser, LocalPath("bytes.bin"));
    ASSERT_TRUE(WaitForWindowGone(chooser));
    Settle(main);
    Download("big.dat", LocalPath("copy of big.dat"));

    EXPECT_EQ(FileBytes(LocalPath("bytes.bin")), lineEnds);
    EXPECT_EQ(FileBytes(LocalPath("copy of big.dat")), big);
    const std::vector<std::string> sent = ClientCommandsFrom(mark);
    EXPECT_TRUE(Contains(sent, "TYPE I"));
    EXPECT_TRUE(Contains(sent, "RETR bytes.bin"));
    EXPECT_TRUE(Contains(sent, "RETR big.dat"));
    EXPECT_EQ(CountStartingWith(sent, "LIST"), 0u) << "a download reloaded the listing";
    EXPECT_EQ(LocalFolderNames(local), (std::vector<std::string>{"bytes.bin", "copy of big.dat"}))
        << "a temporary file was left behind";
}

TEST_F(FileOpsTest, DownloadReplacesAnExistingFileWithoutAQuestion)
{
    WriteLocalFile(FtpRootPath("new.txt"), "fresh");
    WriteLocalFile(LocalPath("old.txt"), "old content, longer than the new one");
    ASSERT_NE(LogIn(), nullptr);
    Download("new.txt", LocalPath("old.txt"));
    ExpectNoMessageBox();
    EXPECT_EQ(FileBytes(LocalPath("old.txt")), "fresh");
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>{"old.txt"});
}

TEST_F(FileOpsTest, CancellingTheSaveChooserDoesNothing)
{
    WriteLocalFile(FtpRootPath("f.txt"), "f");
    ASSERT_NE(LogIn(), nullptr);
    const size_t mark = ClientCommands().size();
    HWND chooser = StartDownload("f.txt");
    ASSERT_NE(chooser, nullptr);
    CancelFileDialog(chooser);
    ASSERT_TRUE(WaitForWindowGone(chooser));
    Settle(main);
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>());
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>());
}

TEST_F(FileOpsTest, RefusedDownloadLeavesTheExistingFileAndNoTempFile)
{
    WriteLocalFile(FtpRootPath("f.txt"), "server copy");
    WriteLocalFile(LocalPath("keep.txt"), "precious");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RETR reply 550 No.\n");
    Download("f.txt", LocalPath("keep.txt"));
    EXPECT_EQ(CountCommandsStartingWith("RETR f.txt"), 1u);
    EXPECT_EQ(FileBytes(LocalPath("keep.txt")), "precious");
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>{"keep.txt"});
}

TEST_F(FileOpsTest, DownloadCutShortLeavesTheOldFileIntact)
{
    WriteLocalFile(FtpRootPath("f.bin"), PseudoRandomBytes(1 << 20, 3));
    WriteLocalFile(LocalPath("keep.bin"), "precious");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RETR drop-after-bytes 100000\n");
    Download("f.bin", LocalPath("keep.bin"));
    EXPECT_EQ(CountCommandsStartingWith("RETR f.bin"), 1u);
    EXPECT_EQ(FileBytes(LocalPath("keep.bin")), "precious");
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>{"keep.bin"});
}

TEST_F(FileOpsTest, DownloadCutShortLeavesNoFileUnderTheChosenName)
{
    WriteLocalFile(FtpRootPath("f.bin"), PseudoRandomBytes(1 << 20, 5));
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RETR drop-after-bytes 100000\n");
    Download("f.bin", LocalPath("f.bin"));
    EXPECT_EQ(CountCommandsStartingWith("RETR f.bin"), 1u);
    EXPECT_EQ(LocalFolderNames(local), std::vector<std::string>());
}

// A listing can carry names no local file may have; the chooser is offered only the last part.
TEST_F(FileOpsTest, SuggestedNameIsThePlainLastComponent)
{
    ServeListingAsIs(UnixListingLine("..\\..\\evil.txt") + UnixListingLine("up/x?y*.txt"));
    ASSERT_NE(LogIn(), nullptr);
    const size_t mark = ClientCommands().size();
    for (const auto &remoteAndSuggested : {std::make_pair("..\\..\\evil.txt", "evil.txt"),
                                           std::make_pair("up/x?y*.txt", "x_y_.txt")}) {
        HWND chooser = StartDownload(remoteAndSuggested.first);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(FileDialogName(chooser), remoteAndSuggested.second);
        CancelFileDialog(chooser);
        ASSERT_TRUE(WaitForWindowGone(chooser));
        Settle(main);
    }
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>());
}

// The longest name a listing carries (259 characters) is read back whole for every command,
// so none reaches the entry whose name is its prefix. No local file system holds such a name,
// so the server lists it from a prepared listing and the log shows what was asked for.
TEST_F(FileOpsTest, LongestNamesAreReadBackWhole)
{
    const std::string longName = std::string(255, 'n') + ".bin";
    const std::string prefix = longName.substr(0, 255);
    ServeListingAsIs(UnixListingLine(prefix) + UnixListingLine(longName));
    ASSERT_NE(LogIn(), nullptr);
    ASSERT_EQ(ListTexts(ruvex, list), (std::vector<std::string>{"Up to parent directory", prefix, longName}));

    Download(longName, LocalPath("long.bin"));
    EditLabel(longName, "renamed.bin", VK_RETURN);
    DeleteEntry(longName);
    const std::vector<std::string> sent = ClientCommands();
    EXPECT_TRUE(Contains(sent, "RETR " + longName));
    EXPECT_TRUE(Contains(sent, "RNFR " + longName));
    EXPECT_TRUE(Contains(sent, "DELE " + longName));
    EXPECT_EQ(CountStartingWith(sent, "RETR " + prefix), 1u);
    EXPECT_EQ(CountStartingWith(sent, "RNFR " + prefix), 1u);
    EXPECT_EQ(CountStartingWith(sent, "DELE " + prefix), 1u);
}

// ---- New folder ----

TEST_F(FileOpsTest, NewFolderAsksForANameAndSendsItTrimmed)
{
    ASSERT_NE(LogIn(), nullptr);
    HWND prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, IDC_PROMPT_TEXT), "Folder name?");
    EXPECT_EQ(ControlText(prompt, IDC_PROMPT_EDIT), "");
    SetControlText(prompt, IDC_PROMPT_EDIT, "  Reports  ");
    SaveScreenshot(prompt, "folder-prompt");
    PressButton(prompt, IDC_PROMPT_OK);
    ASSERT_TRUE(WaitForWindowGone(prompt));
    Settle(main);

    const std::vector<std::string> sent = ClientCommands();
    EXPECT_EQ(CountStartingWith(sent, "MKD"), 1u);
    EXPECT_TRUE(Contains(sent, "MKD Reports"));
    EXPECT_NE(GetFileAttributesA(FtpRootPath("Reports").c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    const int index = FindListEntry(ruvex, list, "Reports");
    ASSERT_GT(index, 0);
    EXPECT_EQ(ReadList(ruvex, list)[index].image, ICON_FOLDER);

    // A second prompt starts empty again, and Enter acts as Ok.
    prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(ControlText(prompt, IDC_PROMPT_EDIT), "");
    SetControlText(prompt, IDC_PROMPT_EDIT, "Second");
    PressKey(GetDlgItem(prompt, IDC_PROMPT_EDIT), VK_RETURN);
    ASSERT_TRUE(WaitForWindowGone(prompt));
    Settle(main);
    EXPECT_EQ(CountCommandsStartingWith("MKD Second"), 1u);
}

TEST_F(FileOpsTest, NewFolderOfBlanksOrClosedPromptCreatesNothingButReloads)
{
    ASSERT_NE(LogIn(), nullptr);
    size_t mark = ClientCommands().size();
    AnswerPrompt("    ");
    std::vector<std::string> sent = ClientCommandsFrom(mark);
    EXPECT_EQ(CountStartingWith(sent, "MKD"), 0u);
    EXPECT_EQ(CountStartingWith(sent, "LIST"), 1u);

    mark = ClientCommands().size();
    HWND prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    SetControlText(prompt, IDC_PROMPT_EDIT, "Typed");
    PressKey(GetDlgItem(prompt, IDC_PROMPT_EDIT), VK_ESCAPE);
    Settle(prompt);
    EXPECT_TRUE(IsWindowVisible(prompt)) << "Escape closed the prompt";
    EXPECT_EQ(ControlText(prompt, IDC_PROMPT_EDIT), "Typed");
    CloseByCloseBox(prompt);
    ASSERT_TRUE(WaitForWindowGone(prompt));
    Settle(main);
    sent = ClientCommandsFrom(mark);
    EXPECT_EQ(CountStartingWith(sent, "MKD"), 0u);
    EXPECT_EQ(CountStartingWith(sent, "LIST"), 1u);
    EXPECT_EQ(LocalFolderNames(FtpRootPath()), std::vector<std::string>());
}

// A folder name is not held to the rename's rules: the server decides.
TEST_F(FileOpsTest, NewFolderNameWithASlashIsSent)
{
    MakeLocalFolder(FtpRootPath("a"));
    ASSERT_NE(LogIn(), nullptr);
    AnswerPrompt("a/b");
    EXPECT_EQ(CountCommandsStartingWith("MKD a/b"), 1u);
    EXPECT_TRUE(LocalFileExists(FtpRootPath("a\\b")));
}

// The library sends a name raw: a line break in it would smuggle in a second command.
TEST_F(FileOpsTest, NewFolderNameWithALineBreakIsRefusedAndNothingSent)
{
    WriteLocalFile(FtpRootPath("x"), "must stay");
    ASSERT_NE(LogIn(), nullptr);
    for (const char *name : {"new\r\nDELE x", "new\nDELE x", "tab\there"}) {
        const size_t mark = ClientCommands().size();
        HWND prompt = OpenPrompt();
        ASSERT_NE(prompt, nullptr);
        SetControlText(prompt, IDC_PROMPT_EDIT, name);
        ASSERT_EQ(ControlText(prompt, IDC_PROMPT_EDIT), name) << "the edit field changed the text";
        PressButton(prompt, IDC_PROMPT_OK);
        ExpectErrorBox("Invalid file name!");
        EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>()) << name;
    }
    EXPECT_EQ(FileBytes(FtpRootPath("x")), "must stay");
}

// The main window closes while the prompt is open: the connection is gone, so the command
// that opened the prompt must not reach the server, and the process ends normally.
TEST_F(FileOpsTest, ClosingTheMainWindowWithThePromptOpenSendsNothingMore)
{
    ASSERT_NE(LogIn(), nullptr);
    HWND prompt = OpenPrompt();
    ASSERT_NE(prompt, nullptr);
    SetControlText(prompt, IDC_PROMPT_EDIT, "Late");
    const size_t mark = ClientCommands().size();
    CloseByCloseBox(main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
    // The library closes the connection without a QUIT.
    const std::vector<std::string> log = ServerCommands();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back(), "DISCONNECT") << Lines(log);
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>()) << Lines(log);
    EXPECT_FALSE(LocalFileExists(FtpRootPath("Late")));
}

// ---- Delete ----

TEST_F(FileOpsTest, DeleteRemovesAFileAndAnEmptyFolderWithoutAQuestion)
{
    WriteLocalFile(FtpRootPath("gone.txt"), "bye");
    MakeLocalFolder(FtpRootPath("Empty"));
    ASSERT_NE(LogIn(), nullptr);

    DeleteEntry("gone.txt");
    ExpectNoMessageBox();
    EXPECT_EQ(CountCommandsStartingWith("DELE gone.txt"), 1u);
    EXPECT_FALSE(LocalFileExists(FtpRootPath("gone.txt")));
    EXPECT_EQ(FindListEntry(ruvex, list, "gone.txt"), -1);

    DeleteEntry("Empty");
    ExpectNoMessageBox();
    EXPECT_EQ(CountCommandsStartingWith("RMD Empty"), 1u);
    EXPECT_FALSE(LocalFileExists(FtpRootPath("Empty")));
    EXPECT_EQ(ListTexts(ruvex, list), std::vector<std::string>{"Up to parent directory"});
}

TEST_F(FileOpsTest, DeletingAFolderThatIsNotEmptyShowsTheServersAnswer)
{
    MakeLocalFolder(FtpRootPath("Full"));
    WriteLocalFile(FtpRootPath("Full\\inner.txt"), "x");
    ASSERT_NE(LogIn(), nullptr);
    SelectEntry("Full");
    const size_t mark = ClientCommands().size();
    PressButton(main, IDC_DELETE);
    MessageBoxSeen box = {};
    ASSERT_TRUE(WaitForMessageBox(ruvex, &box));
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.owner, main);
    // The reply the server sent to RMD, as its log shows it.
    const std::vector<std::string> log = ServerCommands();
    const auto rmd = std::find(log.begin(), log.end(), "RMD Full");
    ASSERT_NE(rmd, log.end());
    ASSERT_NE(rmd + 1, log.end());
    EXPECT_NE(box.text.find((rmd + 1)->substr(3)), std::string::npos) << box.text;
    DismissMessageBox(box);
    Settle(main);
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>{"RMD Full"}) << "reloaded after a failure";
    EXPECT_GT(FindListEntry(ruvex, list, "Full"), 0);
}

TEST_F(FileOpsTest, DeleteWithoutASelectedEntryOrOnTheParentDoesNothing)
{
    WriteLocalFile(FtpRootPath("stay.txt"), "x");
    MakeLocalFolder(FtpRootPath("Stay"));
    ASSERT_NE(LogIn(), nullptr);
    const size_t mark = ClientCommands().size();

    PressButton(main, IDC_DELETE);  // nothing selected yet
    Settle(main);

    SelectEntry("Up to parent directory");
    PressButton(main, IDC_DELETE);
    Settle(main);

    SelectEntry("stay.txt");  // selected, then deselected: the selection mark stays behind
    ClickListEmptySpace(list);
    Settle(main);
    PressButton(main, IDC_DELETE);
    Settle(main);

    ExpectNoMessageBox();
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>());
    EXPECT_TRUE(LocalFileExists(FtpRootPath("stay.txt")));
    EXPECT_TRUE(LocalFileExists(FtpRootPath("Stay")));
}

// ---- Rename by editing a label ----

TEST_F(FileOpsTest, RenameSendsTheNewNameAsTypedBlanksIncluded)
{
    WriteLocalFile(FtpRootPath("old.txt"), "content");
    WriteLocalFile(FtpRootPath("second.txt"), "second");
    ASSERT_NE(LogIn(), nullptr);

    EditLabel("old.txt", "new.txt", VK_RETURN);
    EXPECT_EQ(CountCommandsStartingWith("RNFR old.txt"), 1u);
    EXPECT_EQ(CountCommandsStartingWith("RNTO new.txt"), 1u);
    EXPECT_EQ(FileBytes(FtpRootPath("new.txt")), "content");
    EXPECT_GT(FindListEntry(ruvex, list, "new.txt"), 0);
    EXPECT_EQ(FindListEntry(ruvex, list, "old.txt"), -1);

    EditLabel("second.txt", "  padded.txt  ", VK_RETURN);
    const std::vector<std::string> sent = ClientCommands();
    EXPECT_TRUE(Contains(sent, "RNTO   padded.txt  "));
    EXPECT_EQ(FileBytes(FtpRootPath("  padded.txt  ")), "second");
}

TEST_F(FileOpsTest, RenameToAForbiddenNameIsRefusedAndNothingSent)
{
    WriteLocalFile(FtpRootPath("old.txt"), "content");
    WriteLocalFile(FtpRootPath("x"), "must stay");
    ASSERT_NE(LogIn(), nullptr);
    for (const char *name : {"a:b.txt", "dir\\new.txt", "a/b", "what?", "new\r\nDELE x"}) {
        const size_t mark = ClientCommands().size();
        const int index = FindListEntry(ruvex, list, "old.txt");
        ASSERT_GT(index, 0);
        HWND edit = BeginLabelEdit(list, index);
        ASSERT_NE(edit, nullptr);
        EndLabelEdit(edit, name, VK_RETURN);
        ExpectErrorBox("Invalid file name!");
        EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>()) << name;
        EXPECT_GT(FindListEntry(ruvex, list, "old.txt"), 0) << "the label changed after " << name;
    }
    EXPECT_EQ(FileBytes(FtpRootPath("x")), "must stay");
    EXPECT_EQ(FileBytes(FtpRootPath("old.txt")), "content");
}

TEST_F(FileOpsTest, RenameCancelledOrOfBlanksSendsNothing)
{
    WriteLocalFile(FtpRootPath("old.txt"), "content");
    ASSERT_NE(LogIn(), nullptr);
    const size_t mark = ClientCommands().size();
    EditLabel("old.txt", "new.txt", VK_ESCAPE);
    EditLabel("old.txt", "   ", VK_RETURN);
    ExpectNoMessageBox();
    EXPECT_EQ(ClientCommandsFrom(mark), std::vector<std::string>());
    EXPECT_GT(FindListEntry(ruvex, list, "old.txt"), 0);
    EXPECT_EQ(FindListEntry(ruvex, list, "new.txt"), -1);
}

TEST_F(FileOpsTest, RefusedRenameShowsTheOldName)
{
    WriteLocalFile(FtpRootPath("old.txt"), "content");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("RNTO reply 550 No.\n");
    const size_t mark = ClientCommands().size();
    EditLabel("old.txt", "new.txt", VK_RETURN);
    ExpectNoMessageBox();
    const std::vector<std::string> sent = ClientCommandsFrom(mark);
    EXPECT_TRUE(Contains(sent, "RNTO new.txt"));
    EXPECT_EQ(CountStartingWith(sent, "LIST"), 1u);
    EXPECT_GT(FindListEntry(ruvex, list, "old.txt"), 0);
    EXPECT_EQ(FindListEntry(ruvex, list, "new.txt"), -1);
}
