// browser/browser.h - the main window, the remote listing and the commands on remote entries.
#ifndef RUVEX_BROWSER_BROWSER_H
#define RUVEX_BROWSER_BROWSER_H

#include <windows.h>

#include "../names/names.h"

// Set once when the main window opens and never cleared: the window through which every
// control is addressed, and the owner of the choosers and the browser's message boxes.
extern HWND g_mainWindow;

// The text of the entry a command acts on, read back from the list. It holds the longest
// name a listing can carry, so the name read back is never cut short and a command never
// reaches a different entry whose name happens to be a prefix of it.
extern char g_itemText[kNameBufferSize];

// Reads entry `item` of the list: its text into `text` (a buffer of `size` bytes), its image
// index, which tells its kind, and the least size a download of it must have (the size the
// listing gave, as far as the parameter holds it). False when there is no such entry.
bool ReadListEntry(int item, char *text, int size, int *imageIndex, LPARAM *leastSize);

// The index of the selected entry; -1 when none is selected.
int SelectedListEntry();

// Shows the main window; returns when it has closed, the session closed with it.
void ShowMainWindow();

// Builds the file-type image list for the list and puts the pictures on the four buttons.
void LoadImages();

// Reloads the server's current directory into the path label and the list: the parent
// entry, then the folders, then the files, each in the server's order.
void RefreshListing();

// The commands on remote entries. Each runs to its end, then reloads the listing where the
// remote directory may have changed. An empty local path is a cancelled upload. A download
// of the file `remoteName` with fewer than `leastSize` bytes is short, and replaces nothing.
void UploadFile(const char *localPath);
void DownloadFile(const char *remoteName, LPARAM leastSize);
void DeleteSelectedEntry();
void CreateFolder();
void RenameEntry(int item, const char *newText);

#endif
