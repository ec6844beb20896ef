// browser/browser.h - the main window, the remote listing and the commands on remote entries.
#ifndef RUVEX_BROWSER_BROWSER_H
#define RUVEX_BROWSER_BROWSER_H

#include <windows.h>

#include "../ftp/session.h"
#include "../names/names.h"

// Set once when the main window opens and never cleared: the window through which every
// control is addressed, and the owner of the choosers and the browser's message boxes.
extern HWND g_mainWindow;

// An entry of the list as the listing gave it. Each command reads its entry into one of its own.
struct ListEntry {
    int imageIndex;               // tells the kind: EntryKindOf (file_types.h)
    char name[kNameBufferSize];   // the name's very bytes, as listed; "" for the parent entry
    unsigned long long size;      // as listed: 0 when the listing gave none
};

// Reads entry `item` of the list; false when there is no such entry.
bool ReadListEntry(int item, ListEntry *entry);

// The index of the listed file named `name`; -1 when none is.
int FindListedFile(const char *name);

// Frees what an entry of the list kept, given its item's parameter, when the list lets it go.
void ForgetListEntry(LPARAM param);

// The index of the selected entry; -1 when none is selected.
int SelectedListEntry();

// Shows the main window; returns when it has closed, the session closed with it.
void ShowMainWindow();

// Builds the file-type image list for the list and puts the pictures on the four buttons.
void LoadImages();

// Reloads the server's current directory into the path label and the list: the parent
// entry, then the folders, then the files, each in the server's order. A listing that fails
// says why; the entries that came before the failure stay.
void RefreshListing();

// The browser's message box, owned by the main window, under the caption "Error".
void ShowError(const char *text);

// Says why an FTP call failed, given the error it left: the server's refusal in its own words,
// "The connection to the server was lost.", or `notCompleted`. Returns which it was.
FtpFailure ShowFtpFailure(DWORD error, const char *notCompleted);

// The commands on remote entries. Each runs to its end, then reloads the listing where the
// remote directory may have changed. An empty local path is a cancelled upload. A download
// of the file `remoteName` with fewer than `listedSize` bytes is short, and replaces nothing.
void UploadFile(const char *localPath);
void DownloadFile(const char *remoteName, unsigned long long listedSize);
void DeleteSelectedEntry();
void CreateFolder();
void RenameEntry(int item, const char *newText);

#endif
