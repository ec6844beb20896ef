// tests/e2e/test_browser.cpp - browsing a real server: the listing's order and pictures, the layout,
// a refused change of folder and closing. (Entering a folder and going back up, the shipped
// program's session shows.)
#include "e2e.h"

// x, y, width and height of the list, the path label, then the refresh, upload, new folder
// and delete buttons, and last the client area's size, once resized to `width` by `height`.
static std::vector<std::vector<int>> Places(HWND dialog, int width, int height)
{
    RECT rect = {}, client = {};
    GetWindowRect(dialog, &rect);
    GetClientRect(dialog, &client);
    SetWindowPos(dialog, nullptr, 0, 0, width + rect.right - rect.left - client.right,
                 height + rect.bottom - rect.top - client.bottom, SWP_NOMOVE | SWP_NOZORDER);
    Settle(dialog);
    std::vector<std::vector<int>> places;
    for (int id : {IDC_FILE_LIST, IDC_PATH_LABEL, IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE}) {
        GetWindowRect(GetDlgItem(dialog, id), &rect);
        MapWindowPoints(nullptr, dialog, (POINT *)&rect, 2);
        places.push_back({rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top});
    }
    GetClientRect(dialog, &client);
    places.push_back({client.right, client.bottom});
    return places;
}

// Folders ("." and ".." among them, and one named like an archive) come first, then the
// files, each in the server's order; every entry shows its picture with an indent of one.
// The controls follow the window's size, and only the close box closes it.
TEST_F(E2e, ListingOrderPicturesLayoutAndClosing)
{
    ServeListing({"./", "zeta.GIF", "images.zip/", "backup.tar.gz", "../", "Makefile", "archive.tgz.bak"});
    ASSERT_TRUE(LogIn(&ruvex));
    std::string listed;
    for (const ListEntry &entry : ReadList(ruvex))
        listed += entry.text + " " + std::to_string(entry.image) + (entry.indent == 1 ? ", " : " not indented, ");
    EXPECT_EQ(listed, "Up to parent directory 12, . 0, images.zip 0, .. 0, zeta.GIF 8, backup.tar.gz 3, Makefile 9, "
                      "archive.tgz.bak 9, ");
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/");
    EXPECT_EQ(CountStartingWith(ClientCommands(), "PORT"), 1u) << "not an active-mode data connection";
    EXPECT_NE(SendMessageA(ruvex.list, LVM_GETIMAGELIST, LVSIL_SMALL, 0), 0) << "no pictures";
    for (int id : {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE})
        EXPECT_NE(SendDlgItemMessageA(ruvex.main, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << "a button has no picture";

    EXPECT_EQ(Places(ruvex.main, 400, 300), (std::vector<std::vector<int>>{{3, 27, 394, 270}, {3, 3, 295, 21},
              {375, 3, 21, 21}, {350, 3, 21, 21}, {325, 3, 21, 21}, {300, 3, 21, 21}, {400, 300}}));

    // Enter on a selected folder, Escape, and button notifications other than clicks do nothing.
    ASSERT_TRUE(ClickEntry(ruvex, "images.zip"));
    PressKey(ruvex.list, VK_RETURN);
    PressKey(ruvex.list, VK_ESCAPE);
    for (WORD code : {BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS})
        PostMessageA(ruvex.main, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, code), (LPARAM)GetDlgItem(ruvex.main, IDC_REFRESH));
    Settle(ruvex.main);
    EXPECT_EQ(CountStartingWith(ClientCommands(), "CWD"), 0u);
    EXPECT_EQ(CountStartingWith(ClientCommands(), "LIST"), 1u);

    // A refused change of folder relists where the server is (here, its real root).
    SetServerFaults("CWD reply 550 Permission denied.\n");
    WriteLocalFile(FtpRootPath("later.txt"), "x");
    ASSERT_TRUE(ClickEntry(ruvex, "images.zip", true));
    EXPECT_EQ(ControlText(ruvex.main, IDC_PATH_LABEL), "/");
    EXPECT_EQ(ListTexts(ruvex), (Texts{kParent, "later.txt"}));
    CloseByCloseBox(ruvex.main);
    EXPECT_EQ(WaitForExit(ruvex), 0u);
}
