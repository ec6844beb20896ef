// tests/wine/test_list_view.cpp - the program's own RefreshListing on a real list view, fed
// by a directory this test makes up: where entries land once the list holds more than 10000
// of them, and that a rebuild does not repaint the list until it is complete. Runs under
// Wine, in-process, with no server: the four WinINet calls of a listing are replaced at link
// time by the ones below.
#include <windows.h>
#include <commctrl.h>
#include <wininet.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "../../app/resource.h"
#include "../../browser/browser.h"
#include "../../browser/file_types.h"
#include "../../browser/listing_order.h"

// ---- A made-up remote directory behind the program's WinINet calls ----

struct FakeEntry {
    std::string name;
    bool folder;
};

static std::vector<FakeEntry> g_fakeDirectory;
static size_t g_fakeNext;
static HINTERNET const kFakeFind = (HINTERNET)0x4B1D;
static const char kFakePath[] = "/made/up";
// Called after every entry the enumeration hands out, while the listing is being rebuilt.
static void (*g_whileListing)();

static void FillFound(WIN32_FIND_DATAA *found, const FakeEntry &entry)
{
    *found = WIN32_FIND_DATAA();
    found->dwFileAttributes = entry.folder ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
    std::snprintf(found->cFileName, sizeof found->cFileName, "%s", entry.name.c_str());
}

static BOOL WINAPI FakeGetCurrentDirectory(HINTERNET, LPSTR directory, LPDWORD length)
{
    std::snprintf(directory, *length, "%s", kFakePath);
    *length = (DWORD)std::strlen(directory);
    return TRUE;
}

static HINTERNET WINAPI FakeFindFirstFile(HINTERNET, LPCSTR, LPWIN32_FIND_DATAA found, DWORD, DWORD_PTR)
{
    if (g_fakeDirectory.empty())
        return nullptr;
    FillFound(found, g_fakeDirectory[0]);
    g_fakeNext = 1;
    return kFakeFind;
}

static BOOL WINAPI FakeFindNextFile(HINTERNET, LPVOID found)
{
    if (g_whileListing != nullptr)
        g_whileListing();
    if (g_fakeNext >= g_fakeDirectory.size())
        return FALSE;
    FillFound((WIN32_FIND_DATAA *)found, g_fakeDirectory[g_fakeNext++]);
    return TRUE;
}

static BOOL WINAPI FakeCloseHandle(HINTERNET)
{
    return TRUE;
}

// The program reaches WinINet through these import slots; defining them here keeps the
// library's own out of the link.
extern "C" {
void *g_importGetCurrentDirectory __asm__("__imp__FtpGetCurrentDirectoryA@12") = (void *)FakeGetCurrentDirectory;
void *g_importFindFirstFile __asm__("__imp__FtpFindFirstFileA@20") = (void *)FakeFindFirstFile;
void *g_importFindNextFile __asm__("__imp__InternetFindNextFileA@8") = (void *)FakeFindNextFile;
void *g_importCloseHandle __asm__("__imp__InternetCloseHandle@4") = (void *)FakeCloseHandle;
}

static void AddFakeEntries(const std::string &prefix, int count, bool folder)
{
    for (int i = 0; i < count; ++i)
        g_fakeDirectory.push_back(FakeEntry{prefix + std::to_string(i), folder});
}

// ---- A main window of our own: the path label and the list, addressed by their ids ----

static HWND g_list;
static WNDPROC g_listProc;
static int g_paintsWhileListing;

static LRESULT CALLBACK CountingListProc(HWND list, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT)
        ++g_paintsWhileListing;
    return CallWindowProcA(g_listProc, list, message, wParam, lParam);
}

// Gives the list the chance to paint that a moved window or a pumped message would give it.
static void PaintPendingChanges()
{
    UpdateWindow(g_list);
}

static void PumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static double SecondsSince(const LARGE_INTEGER &start)
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return double(now.QuadPart - start.QuadPart) / double(frequency.QuadPart);
}

class ListViewTest : public testing::Test {
protected:
    void SetUp() override
    {
        LoadLibraryA("comctl32.dll");
        InitCommonControls();
        window = CreateWindowExA(0, "STATIC", "List view test", WS_OVERLAPPEDWINDOW, 10, 10, 500, 400, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
        CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 3, 3, 395, 21, window, (HMENU)IDC_PATH_LABEL,
                        nullptr, nullptr);
        g_list = CreateWindowExA(WS_EX_CLIENTEDGE, WC_LISTVIEWA, "",
                                 WS_CHILD | WS_VISIBLE | LVS_LIST | LVS_SINGLESEL | LVS_EDITLABELS, 3, 27, 494,
                                 370, window, (HMENU)IDC_FILE_LIST, nullptr, nullptr);
        ASSERT_NE(g_list, nullptr);
        g_listProc = (WNDPROC)SetWindowLongPtrA(g_list, GWLP_WNDPROC, (LONG_PTR)CountingListProc);
        g_mainWindow = window;
        g_fakeDirectory.clear();
        g_whileListing = nullptr;
    }
    void TearDown() override
    {
        g_whileListing = nullptr;
        DestroyWindow(window);
        g_mainWindow = nullptr;
        g_list = nullptr;
    }

    HWND window = nullptr;
};

static std::vector<std::string> ListTexts()
{
    std::vector<std::string> texts;
    const int count = (int)SendMessageA(g_list, LVM_GETITEMCOUNT, 0, 0);
    for (int i = 0; i < count; ++i) {
        char text[kNameBufferSize] = {};
        LVITEMA item = {};
        item.pszText = text;
        item.cchTextMax = sizeof text;
        SendMessageA(g_list, LVM_GETITEMTEXTA, i, (LPARAM)&item);
        texts.push_back(text);
    }
    return texts;
}

static int ImageAt(int index)
{
    LVITEMA item = {};
    item.mask = LVIF_IMAGE;
    item.iItem = index;
    SendMessageA(g_list, LVM_GETITEMA, 0, (LPARAM)&item);
    return item.iImage;
}

// Position 10000 is past the end of an ordinary list, so files append; once the list holds
// more than 10000 entries it is not, and each further file lands at 10000, ahead of the
// entries standing there, while folders still go right after the earlier folders.
TEST_F(ListViewTest, PastTenThousandEntriesFilesLandAtTenThousandAndFoldersStayInFront)
{
    AddFakeEntries("f", 9999, false);  // with the parent entry: 10000 entries, the last at 9999
    AddFakeEntries("A", 1, true);
    AddFakeEntries("g", 5, false);
    AddFakeEntries("B", 1, true);
    AddFakeEntries("h", 1, false);
    RefreshListing();  // the window stays hidden, so this is quick

    const std::vector<std::string> texts = ListTexts();
    ASSERT_EQ(texts.size(), 10008u);  // the parent entry, 2 folders, 10005 files
    EXPECT_EQ(texts[0], "Up to parent directory");
    EXPECT_EQ(ImageAt(0), ICON_PARENT);
    EXPECT_EQ(texts[1], "A0");
    EXPECT_EQ(texts[2], "B0");
    EXPECT_EQ(ImageAt(1), ICON_FOLDER);
    EXPECT_EQ(ImageAt(2), ICON_FOLDER);
    for (int i = 0; i <= 9996; ++i)  // the files that came while the list was short, in order
        ASSERT_EQ(texts[3 + i], "f" + std::to_string(i)) << "at " << 3 + i;
    // f9998 came as the 10000th entry and appended; every later file went in at 10000,
    // each one ahead of those before it; each folder then pushed them one further on.
    const std::vector<std::string> tail = {"h0", "f9997", "g4", "g3", "g2", "g1", "g0", "f9998"};
    EXPECT_EQ(std::vector<std::string>(texts.begin() + 10000, texts.end()), tail);
    EXPECT_EQ(ImageAt(10000), ICON_FILE);
}

// Under Wine a visible list view costs milliseconds for every insert while it may draw;
// the rebuild holds its drawing, so the list repaints once, when the listing is complete.
// The list is given the chance to paint after every entry the server hands out: a paint
// then would mean that drawing was not suspended.
TEST_F(ListViewTest, RebuildOfAVisibleListPaintsOnlyWhenComplete)
{
    AddFakeEntries("folder", 20, true);
    AddFakeEntries("file", 480, false);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    RefreshListing();
    PumpMessages();

    g_paintsWhileListing = 0;
    g_whileListing = PaintPendingChanges;
    LARGE_INTEGER start;
    QueryPerformanceCounter(&start);
    RefreshListing();
    const double suspendedSeconds = SecondsSince(start);
    g_whileListing = nullptr;
    EXPECT_EQ(g_paintsWhileListing, 0);
    EXPECT_EQ(ListTexts().size(), 501u);
    g_paintsWhileListing = 0;
    PumpMessages();
    EXPECT_GE(g_paintsWhileListing, 1) << "the complete listing was never shown";

    // The same 500 inserts into the same visible list with drawing left on: the probe (here
    // after every 50th, as each paint is slow) sees paints, and the time shows what
    // suspending saves.
    g_paintsWhileListing = 0;
    QueryPerformanceCounter(&start);
    SendMessageA(g_list, LVM_DELETEALLITEMS, 0, 0);
    for (int i = 1; i <= 500; ++i) {
        InsertListEntry(g_list, kFilePosition, "file.txt", ICON_DOCUMENT);
        if (i % 50 == 0)
            PaintPendingChanges();
    }
    const double drawingSeconds = SecondsSince(start);
    EXPECT_GT(g_paintsWhileListing, 0);
    std::printf("500 entries into a visible list: %.3f s with drawing suspended, %.3f s without\n",
                suspendedSeconds, drawingSeconds);
}
