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

// Each picture button's name is its text, which it does not draw: a tooltip shows it to the
// pointer resting on the button.
static void AddButtonTooltips()
{
    HWND tooltips = CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_mainWindow, nullptr, g_moduleInstance,
                                    nullptr);
    static const int kButtons[] = {IDC_DELETE, IDC_NEW_FOLDER, IDC_UPLOAD, IDC_REFRESH};
    for (int id : kButtons) {
        char name[32];
        GetDlgItemTextA(g_mainWindow, id, name, sizeof name);
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V1_SIZE;  // the common controls 5 that Ruvex runs with take this one
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = g_mainWindow;
        tool.uId = (UINT_PTR)GetDlgItem(g_mainWindow, id);
        tool.lpszText = name;  // copied by the tooltip
        SendMessageA(tooltips, TTM_ADDTOOLA, 0, (LPARAM)&tool);
    }
}

static void OnMainInit(HWND window)
{
    g_mainWindow = window;
    SetApplicationIcon(window);
    LoadImages();
    AddButtonTooltips();
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

// The keys a file list has taught people: F5 reloads, F2 renames the selected entry in place,
// Backspace goes up. Not Delete: nothing asks before a delete, so a stray key must remove nothing.
static void OnListKey(WORD key)
{
    switch (key) {
    case VK_F5:
        RefreshListing();
        break;
    case VK_F2:
        if (const int selected = SelectedListEntry(); selected != -1)
            SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_EDITLABELA, selected, 0);
        break;
    case VK_BACK:
        ChangeDirectory("..");
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
    case LVN_KEYDOWN:
        OnListKey(((const NMLVKEYDOWN *)header)->wVKey);
        break;
    }
}

static void OnUploadCommand()
{
    char localPath[kLocalPathSize];
    ChooseFileToOpen(g_mainWindow, localPath, sizeof localPath);
    UploadFile(localPath);
}

// Enter arrives as IDOK where no button has the focus. In the list it opens the selected entry,
// as a double click does; elsewhere, like Escape (IDCANCEL), it does nothing: only the close box
// closes the window.
static void OnEnterKey()
{
    const int selected = SelectedListEntry();
    if (GetFocus() == GetDlgItem(g_mainWindow, IDC_FILE_LIST) && selected != -1)
        OnItemActivate(selected);
}

static void OnMainCommand(int id)
{
    switch (id) {
    case IDOK:
        OnEnterKey();
        break;
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
