// browser/file_ops.cpp - the commands on remote entries: upload, download, delete, new folder
// and rename. Nothing is confirmed; transfers are binary.
#include "browser.h"

#include <commctrl.h>
#include <wininet.h>

#include "../app/resource.h"
#include "../dialogs/dialogs.h"
#include "../ftp/session.h"
#include "file_types.h"

static void ShowError(const char *text)
{
    MessageBoxA(g_mainWindow, text, "Error", MB_OK);
}

// Shows the server's last reply, e.g. why a folder could not be removed. A reply too long
// for the buffer, or none at all, shows as an empty message.
static void ShowLastServerResponse()
{
    char response[512] = {};
    DWORD length = sizeof response - 2;
    DWORD error = 0;
    (void)InternetGetLastResponseInfoA(&error, response, &length);
    ShowError(response);
}

// A name typed by the person goes to the server as a command argument, sent raw: a CR or
// LF in it would start a second command there. Such a name is refused like one with a
// forbidden character.
static bool IsSendableName(const char *name)
{
    return !HasControlCharacter(name);
}

void UploadFile(const char *localPath)
{
    if (TextEquals(localPath, ""))
        return;  // cancelled: nothing sent, nothing reloaded
    (void)FtpPutFileA(g_session.connection, localPath, GetBaseName(localPath), FTP_TRANSFER_TYPE_BINARY,
                      (DWORD_PTR)&g_session.context);
    RefreshListing();
}

// The library creates the local file before it asks for the remote one and deletes it on any
// failure, so fetching straight to `localPath` would destroy a file already there when the
// download fails, and a transfer cut short would leave a truncated file under the chosen
// name. Fetch into a fresh file beside it instead, and put it in place only on success.
static void FetchReplacing(const char *remoteName, const char *localPath)
{
    char folder[kNameBufferSize];
    GetFolderOfPath(folder, sizeof folder, localPath);
    if (TextEquals(folder, ""))
        CopyTextToBuffer(folder, sizeof folder, ".");
    char partial[MAX_PATH] = {};
    if (!GetTempFileNameA(folder, "rvx", 0, partial))
        return;
    if (FtpGetFileA(g_session.connection, remoteName, partial, FALSE, 0, FTP_TRANSFER_TYPE_BINARY, 0) &&
        MoveFileExA(partial, localPath, MOVEFILE_REPLACE_EXISTING))
        return;
    (void)DeleteFileA(partial);
}

// The server chose the name, so the chooser is offered only a plain file name made from it.
void DownloadFile()
{
    char suggestedName[kNameBufferSize];
    SafeLocalFileName(suggestedName, sizeof suggestedName, g_itemText);
    char path[kNameBufferSize];
    ChooseFileToSave(path, sizeof path, suggestedName);
    if (TextEquals(path, ""))
        return;
    FetchReplacing(g_itemText, path);
}

// The selected entry, read into `name`; false when no entry is selected. The selection mark
// outlives a deselection, so the entry must also still be selected.
static bool ReadSelectedEntry(char (&name)[kNameBufferSize], int *imageIndex)
{
    const int item = (int)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETSELECTIONMARK, 0, 0);
    if (item == -1)
        return false;
    if (!SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMSTATE, item, LVIS_SELECTED))
        return false;
    LVITEMA record = {};
    record.mask = LVIF_TEXT | LVIF_IMAGE;
    record.iItem = item;
    record.pszText = name;
    record.cchTextMax = kNameBufferSize;
    if (!SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMA, 0, (LPARAM)&record))
        return false;
    *imageIndex = record.iImage;
    return true;
}

void DeleteSelectedEntry()
{
    char name[kNameBufferSize] = {};
    int imageIndex = 0;
    if (!ReadSelectedEntry(name, &imageIndex))
        return;
    switch (EntryKindOf(imageIndex)) {
    case ENTRY_FOLDER:
        if (FtpRemoveDirectoryA(g_session.connection, name))
            RefreshListing();
        else
            ShowLastServerResponse();  // e.g. not empty: the folder stays listed
        break;
    case ENTRY_PARENT:
        break;
    case ENTRY_FILE:
        (void)FtpDeleteFileA(g_session.connection, name);
        RefreshListing();
        break;
    }
}

// The new name is trimmed and otherwise sent as typed, without the test a rename makes: a
// name the server refuses simply does not appear.
void CreateFolder()
{
    char reply[kPromptReplySize];
    PromptForText(reply, sizeof reply, "Choose a folder name", "Folder name?");
    if (!IsSessionOpen())
        return;  // the main window closed while the prompt was open
    char name[kNameBufferSize];
    TrimSpaces(name, sizeof name, reply);
    if (!IsSendableName(name)) {
        ShowError("Invalid file name!");
        return;
    }
    if (!TextEquals(name, ""))
        (void)FtpCreateDirectoryA(g_session.connection, name);
    RefreshListing();
}

// The new name is tested and sent as typed, blanks included; trimming only tells whether
// anything was typed. The list keeps the old label until the server lists the new one.
void RenameEntry(int item, const char *newText)
{
    if (newText == nullptr)
        return;
    char trimmed[kNameBufferSize];
    TrimSpaces(trimmed, sizeof trimmed, newText);
    if (TextEquals(trimmed, ""))
        return;
    if (!IsValidFileName(newText) || !IsSendableName(newText)) {
        ShowError("Invalid file name!");
        return;
    }
    LVITEMA record = {};
    record.iSubItem = 0;
    record.pszText = g_itemText;
    record.cchTextMax = sizeof g_itemText;
    SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMTEXTA, item, (LPARAM)&record);
    (void)FtpRenameFileA(g_session.connection, g_itemText, newText);
    RefreshListing();
}
