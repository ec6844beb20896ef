// tests/e2e/test_browser.cpp - browsing a real server: the listing, folders, the parent
// entry, refresh, the layout and closing.
#include "e2e.h"

#include <algorithm>

#include "../../browser/file_types.h"

static const char kParentEntry[] = "Up to parent directory";

typedef std::vector<std::string> Texts;

// The list's texts; every entry, the parent entry included, must carry an indent of one.
static Texts ListedTexts(const RuvexProcess &ruvex, HWND list)
{
    Texts texts;
    for (const ListEntry &entry : ReadList(ruvex, list)) {
        EXPECT_EQ(entry.indent, 1) << entry.text;
        texts.push_back(entry.text);
    }
    return texts;
}

// The image index of the entry with this text; -1 when there is none.
static int ImageOf(const std::vector<ListEntry> &entries, const std::string &text)
{
    for (const ListEntry &entry : entries)
        if (entry.text == text)
            return entry.image;
    return -1;
}

static size_t CountCommand(const std::string &command)
{
    const std::vector<std::string> commands = ServerCommands();
    return (size_t)std::count(commands.begin(), commands.end(), command);
}

// Makes the server answer LIST with exactly these lines, as a Unix `ls -l` would write them.
static void ServeRawListing(const Texts &lines)
{
    std::string data;
    for (const std::string &line : lines)
        data += line + "\r\n";
    WriteLocalFile(SessionPath("RUVEX_SESSION_DIR") + "\\listing.txt", data);
    SetServerFaults("LIST raw listing.txt\n");
}

static std::string UnixFolderLine(const std::string &name)
{
    return "drwxr-xr-x   2 ruvex    ruvex        4096 Jan 02 12:00 " + name;
}

static std::string UnixFileLine(const std::string &name)
{
    return "-rw-r--r--   1 ruvex    ruvex          12 Jan 02 12:00 " + name;
}

// A folder and a file of several kinds, as the screenshots show them.
static void MakeSampleDirectory()
{
    MakeLocalFolder(FtpRootPath("projects"));
    const Texts files = {"budget.xls", "holiday.jpg", "index.html", "notes.txt", "report.pdf", "setup.exe",
                         "site.zip", "talk.avi"};
    for (const std::string &name : files)
        WriteLocalFile(FtpRootPath(name), "sample");
}

// ---- The listing ----

TEST_F(RuvexTest, FoldersComeFirstThenFilesEachInTheServersOrder)
{
    WriteLocalFile(FtpRootPath("a"), "a");
    MakeLocalFolder(FtpRootPath("X"));
    WriteLocalFile(FtpRootPath("b"), "b");
    MakeLocalFolder(FtpRootPath("Y"));
    SetListingOrder("", {"a", "X", "b", "Y"});
    ASSERT_NE(LogIn(), nullptr);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "X", "Y", "a", "b"}));
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/");
}

TEST_F(RuvexTest, EmptyRootShowsTheParentEntryAlone)
{
    ASSERT_NE(LogIn(), nullptr);
    EXPECT_EQ(ListedTexts(ruvex, list), Texts{kParentEntry});
    EXPECT_EQ(ImageOf(ReadList(ruvex, list), kParentEntry), ICON_PARENT);
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/");
}

// One file for every group of extensions and one that matches none; a folder whose name
// looks like an archive is still a folder.
TEST_F(RuvexTest, EveryEntryShowsThePictureOfItsKind)
{
    MakeSampleDirectory();
    MakeLocalFolder(FtpRootPath("images.zip"));
    const struct {
        const char *name;
        int image;
    } files[] = {
        {"flag.GIF", ICON_PICTURE},      {"manual.pdf", ICON_PDF},       {"backup.tar.gz", ICON_ARCHIVE},
        {"page.htm", ICON_WEB_PAGE},     {"shop.php", ICON_PHP},         {"tool.com", ICON_PROGRAM},
        {"intro.swf", ICON_FLASH},       {"feed.xml", ICON_SPREADSHEET}, {"letter.rtf", ICON_DOCUMENT},
        {"song.wma", ICON_MEDIA},        {"Makefile", ICON_FILE},        {"archive.tgz.bak", ICON_FILE},
    };
    for (const auto &file : files)
        WriteLocalFile(FtpRootPath(file.name), "x");
    ASSERT_NE(LogIn(), nullptr);

    ASSERT_EQ(ListedTexts(ruvex, list).size(), 1 + 2 + 8 + sizeof files / sizeof files[0]);
    const std::vector<ListEntry> entries = ReadList(ruvex, list);
    EXPECT_EQ(ImageOf(entries, kParentEntry), ICON_PARENT);
    EXPECT_EQ(ImageOf(entries, "images.zip"), ICON_FOLDER);
    EXPECT_EQ(ImageOf(entries, "projects"), ICON_FOLDER);
    for (const auto &file : files)
        EXPECT_EQ(ImageOf(entries, file.name), file.image) << file.name;
    SaveScreenshot(main, "main-window");
}

// A listing taken as the server sends it: "." and ".." are entries like any other, and a
// name as long as the library passes on (259 characters) is shown and entered whole.
TEST_F(RuvexTest, DotEntriesAndA259CharacterNameAreListedAsSent)
{
    const std::string longName = std::string(258, 'n') + "9";
    ServeRawListing({UnixFolderLine("."), UnixFileLine("notes.txt"), UnixFolderLine(".."),
                     UnixFolderLine(longName)});
    ASSERT_NE(LogIn(), nullptr);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, ".", "..", longName, "notes.txt"}));
    const std::vector<ListEntry> entries = ReadList(ruvex, list);
    EXPECT_EQ(ImageOf(entries, "."), ICON_FOLDER);
    EXPECT_EQ(ImageOf(entries, ".."), ICON_FOLDER);

    DoubleClickListItem(ruvex, list, 3);
    EXPECT_TRUE(WaitUntil([&] { return CountCommandsStartingWith("CWD ") == 1; }));
    Settle(main);
    EXPECT_EQ(CountCommand("CWD " + longName), 1u);
    EXPECT_EQ(ListedTexts(ruvex, list).size(), 5u);  // listed again, the same
}

// ---- Changing directory ----

TEST_F(RuvexTest, FolderIsEnteredAndTheParentEntryLeavesIt)
{
    MakeLocalFolder(FtpRootPath("sub"));
    WriteLocalFile(FtpRootPath("sub\\inner.txt"), "in");
    WriteLocalFile(FtpRootPath("top.txt"), "top");
    ASSERT_NE(LogIn(), nullptr);

    DoubleClickListItem(ruvex, list, FindListEntry(ruvex, list, "sub"));
    ASSERT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/sub"; }));
    Settle(main);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "inner.txt"}));
    EXPECT_EQ(CountCommand("CWD sub"), 1u);

    DoubleClickListItem(ruvex, list, 0);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/"; }));
    Settle(main);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "sub", "top.txt"}));

    // At the root the parent entry lists the root again.
    DoubleClickListItem(ruvex, list, 0);
    ASSERT_TRUE(WaitUntil([&] { return CountCommand("CWD ..") == 2; }));
    Settle(main);
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/");
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "sub", "top.txt"}));
    EXPECT_EQ(CountCommandsStartingWith("CWD Up"), 0u);

    // A double click where there is no entry does nothing.
    const size_t commandsBefore = ServerCommands().size();
    DoubleClickListEmptySpace(list);
    Settle(main);
    EXPECT_EQ(ServerCommands().size(), commandsBefore);
    EXPECT_EQ(VisibleWindows(ruvex, nullptr), std::vector<HWND>{main});
}

// Whatever the server answers, the listing is reloaded and shows where the server is.
TEST_F(RuvexTest, RefusedDirectoryChangeRelistsTheSameDirectory)
{
    MakeLocalFolder(FtpRootPath("locked"));
    WriteLocalFile(FtpRootPath("top.txt"), "top");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("CWD reply 550 Permission denied.\n");
    WriteLocalFile(FtpRootPath("later.txt"), "later");
    DoubleClickListItem(ruvex, list, 1);
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(ruvex, list).size() == 4; }));
    Settle(main);
    EXPECT_EQ(CountCommand("CWD locked"), 1u);
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/");
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "locked", "later.txt", "top.txt"}));
}

// The whole name is read back from the list, so the folder entered is this one and not
// the folder whose name is its first 254 characters.
TEST_F(RuvexTest, FolderWithA255CharacterNameIsShownWholeAndEnteredByItsWholeName)
{
    const std::string longName = std::string(254, 'L') + "Z";
    const std::string prefix = longName.substr(0, 254);
    MakeLocalFolder(FtpRootPath(longName));
    MakeLocalFolder(FtpRootPath(longName + "\\deeper"));
    MakeLocalFolder(FtpRootPath(prefix));
    ASSERT_NE(LogIn(), nullptr);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, prefix, longName}));

    DoubleClickListItem(ruvex, list, 2);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/" + longName; }));
    Settle(main);
    EXPECT_EQ(CountCommand("CWD " + longName), 1u);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "deeper"}));

    // The path is now longer than the 259 characters the program takes from the server:
    // the label is empty, and browsing goes on.
    DoubleClickListItem(ruvex, list, 1);
    EXPECT_TRUE(WaitUntil([&] { return CountCommand("CWD deeper") == 1; }));
    Settle(main);
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "");
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry}));
    DoubleClickListItem(ruvex, list, 0);
    EXPECT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/" + longName; }));
}

// ---- Refresh ----

TEST_F(RuvexTest, RefreshShowsWhatChangedOnTheServer)
{
    MakeLocalFolder(FtpRootPath("sub"));
    WriteLocalFile(FtpRootPath("sub\\old.txt"), "old");
    ASSERT_NE(LogIn(), nullptr);
    DoubleClickListItem(ruvex, list, 1);
    ASSERT_TRUE(WaitUntil([&] { return ControlText(main, IDC_PATH_LABEL) == "/sub"; }));
    Settle(main);

    DeleteFileA(FtpRootPath("sub\\old.txt").c_str());
    WriteLocalFile(FtpRootPath("sub\\new.pdf"), "new");
    MakeLocalFolder(FtpRootPath("sub\\fresh"));
    Settle(main);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "old.txt"}));  // nothing is polled

    PressButton(main, IDC_REFRESH);
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(ruvex, list) == Texts{kParentEntry, "fresh", "new.pdf"}; }));
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "/sub");
    EXPECT_EQ(ImageOf(ReadList(ruvex, list), "new.pdf"), ICON_PDF);
}

// ---- Layout ----

// Resizes the window so that its client area measures width by height.
static void SetClientSize(HWND window, int width, int height)
{
    RECT frame = {}, client = {};
    GetWindowRect(window, &frame);
    GetClientRect(window, &client);
    SetWindowPos(window, nullptr, 0, 0, width + (frame.right - frame.left) - client.right,
                 height + (frame.bottom - frame.top) - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Settle(window);
}

typedef std::vector<std::vector<int>> Places;

// Each control's x, y, width and height in the dialog's client coordinates: the list, the
// path label, then the refresh, upload, new folder and delete buttons.
static Places PlacesOf(HWND dialog)
{
    Places places;
    for (int id : {IDC_FILE_LIST, IDC_PATH_LABEL, IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE}) {
        RECT rect = {};
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        MapWindowPoints(nullptr, dialog, (POINT *)&rect, 2);
        places.push_back({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
    }
    return places;
}

static std::vector<int> ClientSize(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    return {client.right, client.bottom};
}

TEST_F(RuvexTest, ControlsFollowTheWindowSize)
{
    MakeSampleDirectory();
    ASSERT_NE(LogIn(), nullptr);

    SetClientSize(main, 400, 300);
    ASSERT_EQ(ClientSize(main), (std::vector<int>{400, 300}));
    EXPECT_EQ(PlacesOf(main), (Places{{3, 27, 394, 270}, {3, 3, 295, 21}, {375, 3, 21, 21}, {350, 3, 21, 21},
                                      {325, 3, 21, 21}, {300, 3, 21, 21}}));

    // Lower than the top row (this platform keeps the client area at least 108 wide), then
    // minimised, which lays out a client area of nothing, and restored.
    SetClientSize(main, 80, 20);
    const std::vector<int> small = ClientSize(main);
    EXPECT_EQ(small[1], 20);
    const Places smallPlaces = PlacesOf(main);
    EXPECT_EQ(smallPlaces[2][0], small[0] - 25);  // the refresh button
    ShowWindow(main, SW_MINIMIZE);
    Settle(main);
    ASSERT_TRUE(IsIconic(main));
    EXPECT_EQ(PlacesOf(main)[2][0], -25);
    ShowWindow(main, SW_RESTORE);
    Settle(main);
    ASSERT_FALSE(IsIconic(main));
    ASSERT_EQ(ClientSize(main), small);
    EXPECT_EQ(PlacesOf(main), smallPlaces);
    EXPECT_EQ(WaitForExit(ruvex, 0), STILL_ACTIVE);

    SetClientSize(main, 560, 360);
    ASSERT_EQ(ClientSize(main), (std::vector<int>{560, 360}));
    EXPECT_EQ(PlacesOf(main), (Places{{3, 27, 554, 330}, {3, 3, 455, 21}, {535, 3, 21, 21}, {510, 3, 21, 21},
                                      {485, 3, 21, 21}, {460, 3, 21, 21}}));
    SaveScreenshot(main, "main-window-resized");
}

// ---- Closing, and a connection that goes away ----

TEST_F(RuvexTest, KeysAndButtonNotificationsOtherThanClicksDoNothingTheCloseBoxCloses)
{
    MakeLocalFolder(FtpRootPath("sub"));
    ASSERT_NE(LogIn(), nullptr);
    ClickListItem(ruvex, list, 1);  // a selected folder, which Enter must not enter
    Settle(main);
    PressKey(list, VK_RETURN);
    PressKey(list, VK_ESCAPE);
    for (WORD code : {BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS})
        PostMessageA(main, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, code), (LPARAM)GetDlgItem(main, IDC_REFRESH));
    Settle(main);
    EXPECT_TRUE(IsWindowVisible(main));
    EXPECT_EQ(WaitForExit(ruvex, 0), STILL_ACTIVE);
    EXPECT_EQ(CountCommandsStartingWith("CWD"), 0u);
    EXPECT_EQ(CountCommandsStartingWith("LIST"), 1u);  // the first listing alone
    EXPECT_EQ(CountCommand("DISCONNECT"), 0u);

    // The library closes the connection without a QUIT.
    CloseByCloseBox(main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
    EXPECT_TRUE(WaitUntil([] {
        const std::vector<std::string> commands = ServerCommands();
        return !commands.empty() && commands.back() == "DISCONNECT";
    }));
    EXPECT_EQ(CountCommand("DISCONNECT"), 1u);
}

TEST_F(RuvexTest, ListingCutShortKeepsWhatCameAndTheWindowWorks)
{
    const Texts names = {"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt", "f6.txt"};
    for (const std::string &name : names)
        WriteLocalFile(FtpRootPath(name), "x");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("LIST drop-after 3\n");
    PressButton(main, IDC_REFRESH);
    ASSERT_TRUE(WaitUntil([&] { return CountCommand("DISCONNECT") == 1; }));
    Settle(main);
    EXPECT_EQ(ListedTexts(ruvex, list), (Texts{kParentEntry, "f1.txt", "f2.txt", "f3.txt"}));

    // The connection went with the listing: a refresh finds nothing, and nothing reconnects.
    SetServerFaults("");
    PressButton(main, IDC_REFRESH);
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(ruvex, list) == Texts{kParentEntry}; }));
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "");
    EXPECT_EQ(CountCommandsStartingWith("USER"), 1u);
    CloseByCloseBox(main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}

TEST_F(RuvexTest, LostConnectionShowsTheParentEntryAloneAndNothingReconnects)
{
    MakeLocalFolder(FtpRootPath("sub"));
    WriteLocalFile(FtpRootPath("top.txt"), "top");
    ASSERT_NE(LogIn(), nullptr);
    SetServerFaults("CWD drop\n");
    DoubleClickListItem(ruvex, list, 1);
    EXPECT_TRUE(WaitUntil([&] { return ListTexts(ruvex, list) == Texts{kParentEntry}; }));
    EXPECT_EQ(ControlText(main, IDC_PATH_LABEL), "");

    PressButton(main, IDC_REFRESH);
    Settle(main);
    DoubleClickListItem(ruvex, list, 0);
    Settle(main);
    EXPECT_EQ(ListedTexts(ruvex, list), Texts{kParentEntry});
    EXPECT_EQ(CountCommand("CONNECT"), 1u);
    EXPECT_EQ(CountCommandsStartingWith("USER"), 1u);
    CloseByCloseBox(main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}
