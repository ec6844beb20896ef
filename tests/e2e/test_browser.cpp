// tests/e2e/test_browser.cpp - browsing a real server: the listing's order and pictures, the layout,
// the keys, a refused change of folder; closing the login window, and a missing library.
#include "e2e.h"
#include <psapi.h>

static std::vector<int> Place(HWND control)  // x, y, width and height in its window
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), (POINT *)&rect, 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

// The colours of `area` of `from` (the screen when null), after `draw` drew on them.
template <typename Draw> static std::vector<DWORD> Pixels(HDC from, RECT area, Draw draw)
{
    const int width = area.right - area.left, height = area.bottom - area.top;
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), width, -height, 1, 32}};
    DWORD *bits = nullptr;
    const HDC dc = CreateCompatibleDC(nullptr);
    const HBITMAP dib = CreateDIBSection(dc, &info, DIB_RGB_COLORS, (void **)&bits, nullptr, 0);
    SelectObject(dc, dib), BitBlt(dc, 0, 0, width, height, from, area.left, area.top, SRCCOPY), draw(dc);
    std::vector<DWORD> pixels(bits, bits + width * height);
    for (DWORD &pixel : pixels)
        pixel &= 0xFFFFFF;
    return DeleteDC(dc), DeleteObject(dib), pixels;
}

// Whether `area` of `window` shows picture `id` pixel for pixel, on `background`: the bitmap drawn from
// app/pictures/ (not the program's resource, so that a picture under another's identifier shows),
// loaded as the program loads it (`flags`) and drawn through an image list, as the list draws it.
static bool ShowsPicture(HWND window, RECT area, int id, UINT flags, COLORREF background)
{
    const std::string file = SessionPath("RUVEX_PICTURES") + "\\" + std::to_string(id) + ".bmp";
    const HBITMAP picture = (HBITMAP)LoadImageA(nullptr, file.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | flags);
    BITMAP size = {};
    if (!GetObjectA(picture, sizeof size, &size))
        return false;
    const int w = size.bmWidth, h = size.bmHeight;
    const HIMAGELIST images = ImageList_Create(w, h, ILC_COLOR32, 1, 1);
    ImageList_Add(images, picture, nullptr);
    const RECT all = {0, 0, w, h};
    const auto want = Pixels(nullptr, all, [&](HDC dc) {
        SetBkColor(dc, background), ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &all, "", 0, nullptr);
        ImageList_Draw(images, 0, dc, 0, 0, ILD_NORMAL);
    });
    ImageList_Destroy(images), DeleteObject(picture);
    MapWindowPoints(window, nullptr, (POINT *)&area, 2);
    const HDC screen = GetDC(nullptr);
    const auto have = Pixels(screen, area, [](HDC) {});
    ReleaseDC(nullptr, screen);
    const int width = area.right - area.left;
    for (int y = 0; (y + h) * width <= (int)have.size(); ++y)
        for (int x = 0, row = 0; x + w <= width; ++x, row = 0) {
            while (row < h && std::equal(&want[row * w], &want[row * w] + w, &have[(y + row) * width + x]))
                ++row;
            if (row == h)
                return true;
        }
    return false;
}

// Folders ("." and ".." among them, one named like an archive) come first, then the files, each in
// the server's order, with its picture and an indent of one; the controls follow the window's size.
TEST_F(E2e, ListingOrderPicturesLayoutAndClosing)
{
    ServeListing({"./", "zeta.GIF", "images.zip/", "backup.tar.gz", "../", "Makefile", "archive.tgz.bak", "a.pdf", "a.exe",
                  "a.xls", "a.wma", "a.swf", "a.htm", "a.php", "a.txt"});
    ASSERT_TRUE(LogIn(&ruvex));
    std::string listed;
    const std::vector<ShownEntry> entries = ReadList(ruvex);
    for (const ShownEntry &entry : entries)
        listed += entry.text + " " + std::to_string(entry.image) + (entry.indent == 1 ? ", " : " not indented, ");
    EXPECT_EQ(listed, "Up to parent directory 12, . 0, images.zip 0, .. 0, zeta.GIF 8, backup.tar.gz 3, Makefile 9, "
                      "archive.tgz.bak 9, a.pdf 1, a.exe 2, a.xls 4, a.wma 5, a.swf 6, a.htm 7, a.php 10, a.txt 13, ");
    EXPECT_EQ(CountStartingWith(ClientCommands(), "PORT"), 1u) << "not an active-mode data connection";

    // Each entry and each button shows its own picture, by the numbers of the picture sources.
    for (int i = 0; i < (int)entries.size(); ++i) {
        SendMessageA(ruvex.list, LVM_ENSUREVISIBLE, i, FALSE);
        const RECT icon = AskList(ruvex, LVM_GETITEMRECT, i, RECT{LVIR_ICON, 0, 0, 0});
        EXPECT_TRUE(ShowsPicture(ruvex.list, icon, 400 + entries[i].image, LR_DEFAULTCOLOR,
                                 (COLORREF)SendMessageA(ruvex.list, LVM_GETBKCOLOR, 0, 0))) << entries[i].text;
    }
    SetWindowPos(ruvex.main, nullptr, 0, 0, 500, 400, SWP_NOMOVE | SWP_NOZORDER);
    RECT client = {};
    GetClientRect(ruvex.main, &client);
    EXPECT_EQ(Place(ruvex.list), (std::vector<int>{3, 27, (int)client.right - 6, (int)client.bottom - 30}));
    EXPECT_EQ(Place(GetDlgItem(ruvex.main, IDC_PATH_LABEL)), (std::vector<int>{3, 3, (int)client.right - 105, 21}));
    RedrawWindow(ruvex.main, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Settle(ruvex.main);
    const int buttons[] = {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE};
    const char *const names[] = {"Refresh", "Upload", "New folder", "Delete"};  // read by screen readers
    for (int i = 0; i < 4; ++i) {
        const HWND button = GetDlgItem(ruvex.main, buttons[i]);
        EXPECT_EQ(WindowText(button), names[i]);
        RECT face = {};
        GetClientRect(button, &face);
        EXPECT_EQ(Place(button), (std::vector<int>{(int)client.right - 25 * (i + 1), 3, 21, 21})) << "button " << i;
        EXPECT_TRUE(ShowsPicture(button, face, 450 + i, LR_LOADMAP3DCOLORS, GetSysColor(COLOR_BTNFACE))) << "button " << i;
    }

    // Escape, Delete (nothing asks before a delete) and notifications other than clicks do nothing; in
    // the list, Enter opens the selected entry, Backspace goes up, F5 reloads, F2 edits the label.
    MakeLocalFolder(FtpRootPath("images.zip"));
    ASSERT_TRUE(ClickEntry(ruvex, "a.txt"));
    for (UINT key : {VK_ESCAPE, VK_DELETE})
        PressKey(ruvex.list, key);
    for (WORD code : {BN_DOUBLECLICKED, BN_SETFOCUS, BN_KILLFOCUS})
        PostMessageA(ruvex.main, WM_COMMAND, MAKEWPARAM(IDC_REFRESH, code), (LPARAM)GetDlgItem(ruvex.main, IDC_REFRESH));
    ASSERT_TRUE(Settle(ruvex.main) && ClickEntry(ruvex, "images.zip"));
    for (UINT key : {VK_RETURN, VK_BACK, VK_F5})
        PressKey(ruvex.list, key), Settle(ruvex.main);
    Texts sent;
    for (const std::string &command : ClientCommands())
        if (command.rfind("CWD", 0) == 0 || command.rfind("LIST", 0) == 0 || command.rfind("DELE", 0) == 0)
            sent.push_back(command);
    EXPECT_EQ(sent, (Texts{"LIST", "CWD images.zip", "LIST", "CWD ..", "LIST", "LIST"}));
    ASSERT_TRUE(ClickEntry(ruvex, "a.txt"));
    PressKey(ruvex.list, VK_F2);
    ASSERT_TRUE(Settle(ruvex.main));
    EXPECT_EQ(WindowText((HWND)SendMessageA(ruvex.list, LVM_GETEDITCONTROL, 0, 0)), "a.txt") << "F2 edits no label";
    PressKey((HWND)SendMessageA(ruvex.list, LVM_GETEDITCONTROL, 0, 0), VK_ESCAPE);

    // A picture button shows its name to the pointer resting on it.
    RECT face = {};
    GetWindowRect(GetDlgItem(ruvex.main, IDC_DELETE), &face);
    SetCursorPos((face.left + face.right) / 2, (face.top + face.bottom) / 2);
    HWND tip = nullptr;
    WaitUntil([&] { return IsWindowVisible(tip = FindWindowA(TOOLTIPS_CLASSA, nullptr)); }, 5000);
    EXPECT_EQ(WindowText(tip), "Delete");

    // A listing leaves no find handle open (Windows refuses other commands while one is; under Wine
    // it shows as memory that grows), nor an entry's record.
    const auto refreshAndMeasure = [&](size_t times) {
        const size_t listings = CountStartingWith(ClientCommands(), "LIST") + times;
        for (size_t i = 0; i < times; ++i)
            PressButton(ruvex.main, IDC_REFRESH);
        WaitUntil([&] { return CountStartingWith(ClientCommands(), "LIST") == listings; }), Settle(ruvex.main);
        PROCESS_MEMORY_COUNTERS counters = {sizeof counters};
        return GetProcessMemoryInfo(ruvex.process, &counters, sizeof counters), counters.PagefileUsage;
    };
    const SIZE_T settled = refreshAndMeasure(10);
    EXPECT_LT(refreshAndMeasure(40) - settled, 24576u) << "40 refreshes left memory behind";

    // A refused change of folder says why, and the listing stays: so did the server.
    SetServerFaults("CWD reply 550 Permission denied.\n");
    const Texts before = ListTexts(ruvex);
    ClickListItem(ruvex, FindListEntry(ruvex, "images.zip"), true);
    EXPECT_EQ(ErrorBoxText(), "550 Permission denied.");
    EXPECT_EQ(ListTexts(ruvex), before);
}

// Closing the login window ends the program with 0xFFFFFFFF. A library that cannot be had leads
// to the usual way out: without the common dialogs, no chooser, which is said, and no download.
TEST_F(E2e, ClosingTheLoginWindowAndAMissingLibrary)
{
    CloseByCloseBox(ruvex.login);
    EXPECT_EQ(WaitForExit(ruvex), 0xFFFFFFFFu);
    const LoadOrder none({"comdlg32"}, "");
    WriteLocalFile(FtpRootPath("a.txt"), "a");
    ASSERT_TRUE(StartRuvex(&ruvex) && LogIn(&ruvex) && ClickEntry(ruvex, "a.txt", true));
    EXPECT_EQ(ErrorBoxText(), "The file chooser could not be shown.");
    EXPECT_EQ(CountStartingWith(ClientCommands(), "RETR"), 0u);
}
