// tests/wine/test_main_window.cpp - the program's own LoadImages and RefreshListing on the main
// window made from its template, in this process and with no server: the four WinINet calls
// of a listing are replaced at link time by a directory made up here.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>

#include "../../app/app.h"
#include "../../app/resource.h"
#include "../../app/system_libraries.h"
#include "../../browser/browser.h"
#include "../../browser/file_types.h"

static std::vector<std::pair<std::string, bool>> g_directory;  // name, is a folder
static size_t g_next;

static BOOL WINAPI FakeFindNextFile(HINTERNET, LPVOID found)
{
    if (g_next >= g_directory.size())
        return FALSE;
    WIN32_FIND_DATAA *data = (WIN32_FIND_DATAA *)found;
    *data = WIN32_FIND_DATAA();
    data->dwFileAttributes = g_directory[g_next].second ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    std::snprintf(data->cFileName, sizeof data->cFileName, "%s", g_directory[g_next++].first.c_str());
    return TRUE;
}

static HINTERNET WINAPI FakeFindFirstFile(HINTERNET, LPCSTR, LPWIN32_FIND_DATAA found, DWORD, DWORD_PTR)
{
    g_next = 0;
    return FakeFindNextFile(nullptr, found) ? (HINTERNET)0x4B1D : nullptr;
}

static BOOL WINAPI FakeGetCurrentDirectory(HINTERNET, LPSTR directory, LPDWORD length)
{
    *length = std::snprintf(directory, *length, "/made/up");
    return TRUE;
}

static BOOL WINAPI FakeCloseHandle(HINTERNET) { return TRUE; }

static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

// Far past 10,000 entries the list reads: the parent entry, the folders, then the files, each in
// the server's order; and it shows every picture, as do the four buttons.
TEST(MainWindow, AnyNumberOfEntriesListsInOrderWithItsPictures)
{
    LoadSystemLibrary("comctl32.dll");
    g_moduleInstance = GetModuleHandleA(nullptr);
    g_mainWindow = CreateDialogParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PassiveDialogProc, 0);
    HWND list = GetDlgItem(g_mainWindow, IDC_FILE_LIST);
    p_FtpGetCurrentDirectoryA = FakeGetCurrentDirectory, p_FtpFindFirstFileA = FakeFindFirstFile;
    p_InternetFindNextFileA = FakeFindNextFile, p_InternetCloseHandle = FakeCloseHandle;
    for (int i = 0; i < 10200; ++i)
        g_directory.push_back({(i % 1000 == 500 ? "D" : "f") + std::to_string(i), i % 1000 == 500});
    LoadImages();
    RefreshListing();  // the window stays hidden, so this is quick

    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10201);
    std::vector<std::string> expected = {"Up to parent directory"};
    for (bool folders : {true, false})
        for (const auto &entry : g_directory)
            if (entry.second == folders)
                expected.push_back(entry.first);
    for (int i = 0; i < 10201; ++i) {
        char text[300] = {};
        LVITEMA item = {.pszText = text, .cchTextMax = sizeof text};
        SendMessageA(list, LVM_GETITEMTEXTA, i, (LPARAM)&item);
        ASSERT_EQ(text, expected[i]) << "at " << i;
    }
    HIMAGELIST images = (HIMAGELIST)SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    int width = 0, height = 0;
    EXPECT_TRUE(ImageList_GetIconSize(images, &width, &height) && width == 16 && height == 16);
    EXPECT_EQ(ImageList_GetImageCount(images), kFileTypeImageCount);
    for (int id : {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE})
        EXPECT_NE(SendDlgItemMessageA(g_mainWindow, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
}
