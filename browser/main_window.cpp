// browser/main_window.cpp - the main window: opening, closing, the list's notifications, the
// buttons and the layout.
#include "browser.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../app/system_libraries.h"
#include "../dialogs/dialogs.h"
#include "../ftp/session.h"
#include "file_types.h"
#include "layout.h"

// Asks the server to change to `name` (relative to where it is) and lists the folder it is in
// then; a refusal is shown, and the listing stays as it was, since the server stayed too.
static void ChangeDirectory(const char *name)
{
    if (p_FtpSetCurrentDirectoryA(g_session.connection, name))
        RefreshListing();
    else
        (void)ShowFtpFailure(GetLastError(), "The folder could not be opened.");
}

static void OnMainInit(HWND window)
{
    g_mainWindow = window;
    SetApplicationIcon(window);
    LoadImages();
    RefreshListing();
}

static void OnMainClose(HWND window)
{
    CloseSession();
    // A folder prompt may still be open; end it too, so the command that opened it
    // finds the session closed and the process can end.
    EndOpenPrompts();
    EndDialog(window, 0);
}

// A folder or the parent entry changes directory; a file is downloaded. A name that may have
// been cut names no folder for certain, so nothing is asked of the server.
static void OnItemActivate(int item)
{
    ListEntry entry;
    if (!ReadListEntry(item, &entry))
        return;  // no entry there: nothing was activated
    switch (EntryKindOf(entry.imageIndex)) {
    case ENTRY_PARENT:
        ChangeDirectory("..");  // never the entry's label
        break;
    case ENTRY_FOLDER:
        if (!MayHaveBeenCut(entry.name))
            ChangeDirectory(entry.name);
        break;
    case ENTRY_FILE:
        DownloadFile(entry.name, entry.size);
        break;
    }
}

// No notification result is ever set, so every label edit may start, and the list never
// adopts an edited label itself: a new name shows only once the server lists it.
static void OnMainNotify(const NMHDR *header)
{
    switch (header->code) {
    case LVN_ITEMACTIVATE:
        OnItemActivate(((const NMITEMACTIVATE *)header)->iItem);
        break;
    case LVN_ENDLABELEDITA: {
        const NMLVDISPINFOA *edit = (const NMLVDISPINFOA *)header;
        RenameEntry(edit->item.iItem, edit->item.pszText);  // null text: the edit was cancelled
        break;
    }
    case LVN_DELETEITEM:
        ForgetListEntry(((const NMLISTVIEW *)header)->lParam);
        break;
    }
}

static void OnUploadCommand()
{
    char localPath[kLocalPathSize];
    ChooseFileToOpen(g_mainWindow, localPath, sizeof localPath);
    UploadFile(localPath);
}

static void OnMainCommand(int id)
{
    switch (id) {
    case IDC_UPLOAD:
        OnUploadCommand();
        break;
    case IDC_REFRESH:
        RefreshListing();
        break;
    case IDC_DELETE:
        DeleteSelectedEntry();
        break;
    case IDC_NEW_FOLDER:
        CreateFolder();
        break;
    }
}

static void OnMainSize()
{
    RECT client = {};
    GetClientRect(g_mainWindow, &client);
    for (const ControlPlace &place : ComputeMainLayout(client.right, client.bottom).place)
        MoveWindow(GetDlgItem(g_mainWindow, place.id), place.x, place.y, place.width, place.height, TRUE);
    UpdateWindow(g_mainWindow);
}

// Enter and Escape arrive as IDOK and IDCANCEL, which match no command: only the close box
// closes the window.
static INT_PTR CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnMainInit(window);
        return TRUE;  // the focus goes to the first tab stop: the list
    case WM_CLOSE:
        OnMainClose(window);
        return TRUE;
    case WM_NOTIFY:
        OnMainNotify((const NMHDR *)lParam);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == 0)
            OnMainCommand(LOWORD(wParam));
        return TRUE;
    case WM_SIZE:
        OnMainSize();
        return TRUE;
    }
    return FALSE;
}

void ShowMainWindow()
{
    (void)DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, MainWindowProc, 0);
}
