// browser/listing.cpp - the list: reloading the remote directory into it, and reading an entry
// back. The list is the only copy of the directory: commands read their entry back from it.
#include "browser.h"

#include <cstring>

#include "../app/resource.h"
#include "../app/system_libraries.h"
#include "../ftp/session.h"
#include "file_types.h"
#include "listing_order.h"

HWND g_mainWindow;
char g_itemText[kNameBufferSize];

static const char kParentEntryText[] = "Up to parent directory";

// Inserts one entry into the list view at `position`, with its picture, an indent of one and
// the least size a download of it must have.
static void InsertListEntry(HWND list, int position, const char *text, int imageIndex, LPARAM leastSize)
{
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT | LVIF_PARAM;
    item.iItem = position;
    item.pszText = const_cast<char *>(text);
    item.cchTextMax = (int)std::strlen(text);
    item.iImage = imageIndex;
    item.iIndent = 1;
    item.lParam = leastSize;
    SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item);
}

static void ShowCurrentDirectory()
{
    char currentDirectory[MAX_PATH] = {};
    DWORD length = sizeof currentDirectory;
    // On failure the buffer stays empty, and so does the label.
    (void)p_FtpGetCurrentDirectoryA(g_session.connection, currentDirectory, &length);
    SetDlgItemTextA(g_mainWindow, IDC_PATH_LABEL, currentDirectory);
}

// The size the listing gives, as far as an entry's parameter holds it: a download must have at
// least this many bytes. A listing without sizes gives 0, so its downloads are never called short.
static LPARAM LeastSizeOf(const WIN32_FIND_DATAA &found)
{
    const ULONGLONG size = (ULONGLONG)found.nFileSizeHigh << 32 | found.nFileSizeLow;
    const ULONGLONG largest = (ULONG_PTR)-1 >> 1;
    return (LPARAM)(size < largest ? size : largest);
}

// Inserts every entry the server lists, unfiltered. An enumeration that fails part-way
// leaves what came so far; one that cannot start leaves the parent entry alone.
static void InsertListedEntries(HWND list)
{
    WIN32_FIND_DATAA found = {};
    int foldersSoFar = 0, entriesSoFar = 1;  // the parent entry is in
    HINTERNET find = p_FtpFindFirstFileA(g_session.connection, nullptr, &found, INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (find != nullptr) {
        do {
            // A longer name fills the field, in a double-byte code page with no zero after it.
            static_assert(sizeof found.cFileName == kListedNameSize, "the find record's name field");
            found.cFileName[kListedNameSize - 1] = '\0';
            const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
            const int icon = isFolder ? ICON_FOLDER : ClassifyFileName(found.cFileName);
            InsertListEntry(list, NextInsertPosition(isFolder, &foldersSoFar, &entriesSoFar), found.cFileName, icon,
                            LeastSizeOf(found));
        } while (p_InternetFindNextFileA(find, &found));
    }
    (void)p_InternetCloseHandle(find);
}

void RefreshListing()
{
    ShowCurrentDirectory();
    HWND list = GetDlgItem(g_mainWindow, IDC_FILE_LIST);
    // A visible list view repaints on every insert, which costs far more than the insert;
    // hold its drawing until the whole listing is in, so it changes once.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    InsertListEntry(list, kParentEntryPosition, kParentEntryText, ICON_PARENT, 0);
    InsertListedEntries(list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

bool ReadListEntry(int item, char *text, int size, int *imageIndex, LPARAM *leastSize)
{
    LVITEMA record = {};
    record.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM;
    record.iItem = item;
    record.pszText = text;
    record.cchTextMax = size;
    if (!SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMA, 0, (LPARAM)&record))
        return false;
    *imageIndex = record.iImage;
    *leastSize = record.lParam;
    return true;
}

// The selection mark outlives a deselection, so the entry must also still be selected.
int SelectedListEntry()
{
    const int item = (int)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETSELECTIONMARK, 0, 0);
    return item != -1 && SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMSTATE, item, LVIS_SELECTED)
               ? item : -1;
}
