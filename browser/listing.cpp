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

static const char kParentEntryText[] = "Up to parent directory";

// What the listing gave for an entry, kept as its item's parameter: the list view keeps its
// text as UTF-16, converted with the code page both ways, so a name the code page cannot map
// reads back as another name; commands send these bytes instead. The parent entry has none.
struct ListedEntry {
    ULONGLONG size;  // 0 when the listing gave none
    char name[kListedNameSize];
};

// Inserts one entry into the list view at `position`, with its picture and an indent of one;
// `listed` is null for the parent entry. An entry whose record cannot be had is left out,
// since no command could act on it.
static void InsertListEntry(HWND list, int position, const char *text, int imageIndex, const ListedEntry *listed)
{
    ListedEntry *kept = nullptr;
    if (listed != nullptr) {
        if ((kept = (ListedEntry *)HeapAlloc(GetProcessHeap(), 0, sizeof *kept)) == nullptr)
            return;
        *kept = *listed;
    }
    LVITEMA item = {};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT | LVIF_PARAM;
    item.iItem = position;
    item.pszText = const_cast<char *>(text);
    item.cchTextMax = (int)std::strlen(text);
    item.iImage = imageIndex;
    item.iIndent = 1;
    item.lParam = (LPARAM)kept;
    if (SendMessageA(list, LVM_INSERTITEMA, 0, (LPARAM)&item) == -1)
        ForgetListEntry((LPARAM)kept);
}

void ForgetListEntry(LPARAM param)
{
    if (param != 0)
        (void)HeapFree(GetProcessHeap(), 0, (void *)param);
}

static void ShowCurrentDirectory()
{
    char currentDirectory[MAX_PATH] = {};
    DWORD length = sizeof currentDirectory;
    // On failure the buffer stays empty, and so does the label.
    (void)p_FtpGetCurrentDirectoryA(g_session.connection, currentDirectory, &length);
    SetDlgItemTextA(g_mainWindow, IDC_PATH_LABEL, currentDirectory);
}

// Inserts every entry the server lists, unfiltered, and returns the error that ended the
// enumeration: ERROR_NO_MORE_FILES when the whole directory came, an empty one included.
static DWORD InsertListedEntries(HWND list)
{
    WIN32_FIND_DATAA found = {};
    int foldersSoFar = 0, entriesSoFar = 1;  // the parent entry is in
    // RELOAD: the directory as the server has it now, never a copy from the internet cache.
    HINTERNET find = p_FtpFindFirstFileA(g_session.connection, nullptr, &found,
                                         INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_RELOAD, 0);
    if (find == nullptr)
        return GetLastError();
    do {
        // A longer name fills the field, in a double-byte code page with no zero after it.
        static_assert(sizeof found.cFileName == kListedNameSize, "the find record's name field");
        found.cFileName[kListedNameSize - 1] = '\0';
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        const int icon = isFolder ? ICON_FOLDER : ClassifyFileName(found.cFileName);
        ListedEntry listed = {(ULONGLONG)found.nFileSizeHigh << 32 | found.nFileSizeLow, {}};
        CopyTextToBuffer(listed.name, sizeof listed.name, found.cFileName);
        InsertListEntry(list, NextInsertPosition(isFolder, &foldersSoFar, &entriesSoFar), found.cFileName, icon,
                        &listed);
    } while (p_InternetFindNextFileA(find, &found));
    const DWORD error = GetLastError();
    (void)p_InternetCloseHandle(find);
    return error;
}

// Only an enumeration that ran out of entries is a whole directory: a refused or broken one
// must not look like an empty folder.
void RefreshListing()
{
    ShowCurrentDirectory();
    HWND list = GetDlgItem(g_mainWindow, IDC_FILE_LIST);
    // A visible list view repaints on every insert, which costs far more than the insert;
    // hold its drawing until the whole listing is in, so it changes once.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LVM_DELETEALLITEMS, 0, 0);
    InsertListEntry(list, kParentEntryPosition, kParentEntryText, ICON_PARENT, nullptr);
    const DWORD error = InsertListedEntries(list);
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    if (error != ERROR_NO_MORE_FILES)
        (void)ShowFtpFailure(error, "The folder could not be listed.");
}

bool ReadListEntry(int item, ListEntry *entry)
{
    LVITEMA record = {};
    record.mask = LVIF_IMAGE | LVIF_PARAM;
    record.iItem = item;
    if (!SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMA, 0, (LPARAM)&record))
        return false;
    const ListedEntry *listed = (const ListedEntry *)record.lParam;
    entry->imageIndex = record.iImage;
    entry->size = listed != nullptr ? listed->size : 0;
    CopyTextToBuffer(entry->name, sizeof entry->name, listed != nullptr ? listed->name : "");
    return listed != nullptr || EntryKindOf(record.iImage) == ENTRY_PARENT;
}

int FindListedFile(const char *name)
{
    const int count = (int)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMCOUNT, 0, 0);
    ListEntry entry;
    for (int item = 0; item < count; ++item)
        if (ReadListEntry(item, &entry) && EntryKindOf(entry.imageIndex) == ENTRY_FILE && TextEquals(entry.name, name))
            return item;
    return -1;
}

// The selection mark outlives a deselection, so the entry must also still be selected.
int SelectedListEntry()
{
    const int item = (int)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETSELECTIONMARK, 0, 0);
    return item != -1 && SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMSTATE, item, LVIS_SELECTED)
               ? item : -1;
}
