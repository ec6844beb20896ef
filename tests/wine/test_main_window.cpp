// tests/wine/test_main_window.cpp - the program's own LoadImages and RefreshListing on the main
// window made from its template, in this process and with no server: the four WinINet calls
// of a listing are replaced at link time by a directory made up here.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "../../app/app.h"
#include "../../app/resource.h"
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

// The program reaches WinINet through these import slots; defining them keeps the library's out.
extern "C" {
void *g_importGetCurrentDirectory __asm__("__imp__FtpGetCurrentDirectoryA@12") = (void *)FakeGetCurrentDirectory;
void *g_importFindFirstFile __asm__("__imp__FtpFindFirstFileA@20") = (void *)FakeFindFirstFile;
void *g_importFindNextFile __asm__("__imp__InternetFindNextFileA@8") = (void *)FakeFindNextFile;
void *g_importCloseHandle __asm__("__imp__InternetCloseHandle@4") = (void *)FakeCloseHandle;
}

static INT_PTR CALLBACK PassiveDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

class MainWindow : public testing::Test {
protected:
    void SetUp() override
    {
        LoadLibraryA("comctl32.dll");
        g_moduleInstance = GetModuleHandleA(nullptr);
        g_mainWindow = CreateDialogParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, PassiveDialogProc, 0);
        ASSERT_NE(g_mainWindow, nullptr);
        list = GetDlgItem(g_mainWindow, IDC_FILE_LIST);
        g_directory.clear();
    }
    void TearDown() override { DestroyWindow(g_mainWindow); }

    std::string TextAt(int index) const
    {
        char text[300] = {};
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(list, LVM_GETITEMTEXTA, index, (LPARAM)&item);
        return text;
    }

    HWND list = nullptr;
};

TEST_F(MainWindow, ImageListHoldsEveryPictureAndEveryButtonShowsOne)
{
    LoadImages();
    HIMAGELIST images = (HIMAGELIST)SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0);
    int width = 0, height = 0;
    ASSERT_TRUE(ImageList_GetIconSize(images, &width, &height));
    EXPECT_EQ(ImageList_GetImageCount(images), kFileTypeImageCount);
    EXPECT_EQ(width * 100 + height, 1616);
    for (int id : {IDC_REFRESH, IDC_UPLOAD, IDC_NEW_FOLDER, IDC_DELETE})
        EXPECT_NE(SendDlgItemMessageA(g_mainWindow, id, BM_GETIMAGE, IMAGE_BITMAP, 0), 0) << id;
}

// Far past 10,000 entries the list still reads: the parent entry, the folders, then the
// files, each in the server's order.
TEST_F(MainWindow, AnyNumberOfEntriesListsInTheServersOrder)
{
    for (int i = 0; i < 10200; ++i)
        g_directory.push_back({(i % 1000 == 500 ? "D" : "f") + std::to_string(i), i % 1000 == 500});
    RefreshListing();  // the window stays hidden, so this is quick
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 10201);
    EXPECT_EQ(TextAt(0), "Up to parent directory");
    int at = 1;
    for (bool folders : {true, false})
        for (const auto &entry : g_directory)
            if (entry.second == folders)
                ASSERT_EQ(TextAt(at++), entry.first) << "at " << at - 1;
}
