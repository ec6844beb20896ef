// tests/e2e/test_browser.cpp - browsing a real server: the listing's order and pictures,
// changing folders, refresh, the layout, closing, and a connection that goes away.
#include "e2e.h"

// The image index of the entry with this text; -1 when there is none.
static int ImageOf(const Ruvex &ruvex, const std::string &text)
{
    for (const ListEntry &entry : ReadList(ruvex))
        if (entry.text == text)
            return entry.image;
    return -1;
}

static bool ShowsPath(const Ruvex &ruvex, const std::string &path)
{
    const bool shown = WaitUntil([&] { return ControlText(ruvex.main, IDC_PATH_LABEL) == path; });
    Settle(ruvex.main);
    return shown;
}

// One file for every group of extensions and one that matches none, in the server's order,
// with folders among them: one named like an archive, and "." and "..".
TEST_F(E2e, FoldersComeFirstThenFilesEachInTheServersOrderWithThePictureOfTheirKind)
{
    const std::vector<std::pair<std::string, int>> files = {
        {"zeta.GIF", ICON_PICTURE},  {"manual.pdf", ICON_PDF},     {"backup.tar.gz", ICON_ARCHIVE},
        {"page.htm", ICON_WEB_PAGE}, {"shop.php", ICON_PHP},       {"tool.com", ICON_PROGRAM},
        {"intro.swf", ICON_FLASH},   {"feed.xml", ICON_SPREADSHEET}, {"letter.rtf", ICON_DOCUMENT},
        {"song.wma", ICON_MEDIA},    {"Makefile", ICON_FILE},     {"archive.tgz.bak", ICON_FILE}};
    Texts lines = {ListingLine(".", true), ListingLine("images.zip", true)};
    for (const auto &file : files)
        lines.push_back(ListingLine(file.first));
    lines.insert(lines.begin() + 5, ListingLine("..", true));  // a folder among the files
    ServeListing(lines);
    ASSERT_TRUE(LogIn(&ruvex));

    Texts expected = {kParent, ".", "images.zip", ".."};
    for (const auto &file : files)
        expected.push_back(file.first);
    EXPECT_EQ(ListTexts(ruvex), expected);
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/");
    EXPECT_EQ(ImageOf(ruvex, kParent), ICON_PARENT);
    for (const char *folder : {".", "images.zip", ".."})
        EXPECT_EQ(ImageOf(ruvex, folder), ICON_FOLDER) << folder;
    for (const auto &file : files)
        EXPECT_EQ(ImageOf(ruvex, file.first), file.second) << file.first;
    for (const ListEntry &entry : ReadList(ruvex))
        EXPECT_EQ(entry.indent, 1) << entry.text;
    SaveScreenshot(ruvex.main, "main-window");
}

TEST_F(E2e, FoldersAreEnteredAndLeftByTheirWholeNamesAndRefreshShowsChanges)
{
    const std::string longName = std::string(254, 'L') + "Z";  // beside its 254-character prefix
    MakeLocalFolder(FtpRootPath(longName));
    MakeLocalFolder(FtpRootPath(longName + "\\deeper"));
    MakeLocalFolder(FtpRootPath(longName.substr(0, 254)));
    MakeLocalFolder(FtpRootPath("sub"));
    WriteLocalFile(FtpRootPath("sub\\old.txt"), "old");
    ASSERT_TRUE(LogIn(&ruvex));

    ASSERT_TRUE(Activate(ruvex, "sub"));
    ASSERT_TRUE(ShowsPath(ruvex, "/sub"));
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "old.txt"}));
    DeleteFileA(FtpRootPath("sub\\old.txt").c_str());
    WriteLocalFile(FtpRootPath("sub\\new.pdf"), "new");
    MakeLocalFolder(FtpRootPath("sub\\fresh"));
    Settle(ruvex.main);
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "old.txt"})) << "nothing is polled";
    Press(ruvex, IDC_REFRESH);
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "fresh", "new.pdf"}));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/sub");

    // The parent entry sends "..", never its label; at the root it lists the root again.
    ClickListItem(ruvex, 0, true);
    ASSERT_TRUE(ShowsPath(ruvex, "/"));
    ClickListItem(ruvex, 0, true);
    EXPECT_TRUE(WaitUntil([] { return CountStartingWith(ClientCommands(), "CWD ..") == 2; }));
    ASSERT_TRUE(ShowsPath(ruvex, "/"));
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, longName.substr(0, 254), longName, "sub"}));
    EXPECT_EQ(CountStartingWith(ClientCommands(), "CWD Up"), 0u);

    // A double click on empty space does nothing; a refused change relists where the server is.
    size_t mark = ClientCommands().size();
    ClickListItem(ruvex, -1, true);
    Settle(ruvex.main);
    EXPECT_EQ(SentSince(mark), Texts());
    SetServerFaults("CWD reply 550 Permission denied.\n");
    ASSERT_TRUE(Activate(ruvex, "sub"));
    EXPECT_TRUE(WaitUntil([&] { return CountStartingWith(SentSince(mark), "LIST") == 1; }));
    ASSERT_TRUE(ShowsPath(ruvex, "/"));
    SetServerFaults("");

    // The whole name is read back from the list, so this folder is entered, not its prefix.
    ASSERT_TRUE(Activate(ruvex, longName));
    ASSERT_TRUE(ShowsPath(ruvex, "/" + longName));
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "deeper"}));
    // A path past the 259 characters taken from the server shows as an empty label.
    ASSERT_TRUE(Activate(ruvex, "deeper"));
    EXPECT_TRUE(WaitUntil([] { return CountStartingWith(ClientCommands(), "CWD deeper") == 1; }));
    ASSERT_TRUE(ShowsPath(ruvex, ""));
    ClickListItem(ruvex, 0, true);
    EXPECT_TRUE(ShowsPath(ruvex, "/" + longName));
}

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

// x, y, width and height of the list, the path label, then the refresh, upload, new folder
// and delete buttons, and last the client area's size.
static std::vector<std::vector<int>> Places(HWND dialog)
{
    std::vector<std::vector<int>> places;
    for (int id : {IDC_FILE_LIST, IDC_PATH_LABEL, IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE}) {
        RECT rect = {};
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        MapWindowPoints(nullptr, dialog, (POINT *)&rect, 2);
        places.push_back({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
    }
    RECT client = {};
    GetClientRect(dialog, &client);
    places.push_back({client.right, client.bottom});
    return places;
}

TEST_F(E2e, ControlsFollowTheWindowSizeAndOnlyTheCloseBoxCloses)
{
    WriteLocalFile(FtpRootPath("notes.txt"), "x");
    MakeLocalFolder(FtpRootPath("sub"));
    ASSERT_TRUE(LogIn(&ruvex));
    SetClientSize(ruvex.main, 400, 300);
    EXPECT_EQ(Places(ruvex.main), (std::vector<std::vector<int>>{{3, 27, 394, 270}, {3, 3, 295, 21},
              {375, 3, 21, 21}, {350, 3, 21, 21}, {325, 3, 21, 21}, {300, 3, 21, 21}, {400, 300}}));
    SetClientSize(ruvex.main, 560, 360);
    EXPECT_EQ(Places(ruvex.main)[2], (std::vector<int>{535, 3, 21, 21}));
    SaveScreenshot(ruvex.main, "main-window-resized");

    // Lower than the top row, then minimised (a client area of nothing) and restored.
    SetClientSize(ruvex.main, 80, 20);
    const auto small = Places(ruvex.main);
    ShowWindow(ruvex.main, SW_MINIMIZE);
    Settle(ruvex.main);
    EXPECT_EQ(Places(ruvex.main)[2][0], -25);
    ShowWindow(ruvex.main, SW_RESTORE);
    Settle(ruvex.main);
    EXPECT_EQ(Places(ruvex.main), small);

    // Enter on a selected folder, Escape, and button notifications other than clicks do nothing.
    ASSERT_TRUE(Select(ruvex, "sub"));
    PressKey(ruvex.list, VK_RETURN);
    PressKey(ruvex.list, VK_ESCAPE);
    for (WORD code : {BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS})
        PostMessageA(ruvex.main, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, code), (LPARAM)GetDlgItem(ruvex.main, IDC_REFRESH));
    Settle(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex, 0), STILL_ACTIVE);
    EXPECT_EQ(CountStartingWith(ClientCommands(), "CWD"), 0u);
    EXPECT_EQ(CountStartingWith(ClientCommands(), "LIST"), 1u);
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}

// A listing cut off part-way keeps what came; the connection went with it, so later commands
// find nothing, the window still works, and nothing reconnects.
TEST_F(E2e, ListingCutShortKeepsWhatCameAndTheWindowWorks)
{
    for (const char *name : {"f1.txt", "f2.txt", "f3.txt", "f4.txt", "f5.txt"})
        WriteLocalFile(FtpRootPath(name), "x");
    MakeLocalFolder(FtpRootPath("sub"));
    ASSERT_TRUE(LogIn(&ruvex));
    SetServerFaults("LIST cut 4\n");
    Press(ruvex, IDC_REFRESH);
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "f1.txt", "f2.txt", "f3.txt", "f4.txt"}));
    SetServerFaults("");
    ClickListItem(ruvex, 0, true);
    EXPECT_TRUE(ShowsPath(ruvex, ""));
    EXPECT_EQ(ListTexts(ruvex), Texts{kParent});
    Press(ruvex, IDC_REFRESH);
    EXPECT_EQ(ListTexts(ruvex), Texts{kParent});
    EXPECT_EQ(CountStartingWith(ServerLog(), "CONNECT"), 1u);
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}
