// browser/file_ops.cpp - the commands on remote entries: upload, download, delete, new folder
// and rename. Nothing is confirmed; transfers are binary.
#include "browser.h"

#include <cstring>

#include "../app/system_libraries.h"
#include "../dialogs/dialogs.h"
#include "../ftp/session.h"
#include "file_types.h"

static void ShowError(const char *text)
{
    MessageBoxA(g_mainWindow, text, "Error", MB_OK);
}

constexpr DWORD kResponseSize = 512;

// The server's last reply, e.g. why a folder could not be removed; "" when there is none or
// it is too long for the buffer. The library is offered two bytes less than the buffer
// holds, all zero, so that whatever it writes is still followed by a zero.
static void ReadLastServerResponse(char (&response)[kResponseSize])
{
    std::memset(response, 0, sizeof response);
    DWORD length = kResponseSize - 2;
    DWORD error = 0;
    (void)p_InternetGetLastResponseInfoA(&error, response, &length);
}

static void ShowLastServerResponse()
{
    char response[kResponseSize];
    ReadLastServerResponse(response);
    ShowError(response);
}

static const char kUploadFailed[] = "The upload did not complete.";
static const char kDownloadFailed[] = "The download did not complete.";

// Says why a transfer failed: the server's refusal, or `failed` where the last reply refuses
// nothing (a progress or success reply left over from before a dropped connection) or is missing.
static void ShowTransferFailure(const char *failed)
{
    char response[kResponseSize];
    ReadLastServerResponse(response);
    const bool refusal = response[0] != '\0' && response[0] != '1' && response[0] != '2';
    ShowError(refusal ? response : failed);
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
    if (!p_FtpPutFileA(g_session.connection, localPath, GetBaseName(localPath), FTP_TRANSFER_TYPE_BINARY,
                     (DWORD_PTR)&g_session.context))
        ShowTransferFailure(kUploadFailed);
    RefreshListing();
}

// GetTempFileNameA makes its name ("rvx", four hex digits, ".tmp") beside the folder, all
// within MAX_PATH. Windows refuses a longer folder; Wine reports success but leaves the name
// without its terminating zero.
static bool TemporaryNameFits(size_t folderLength)
{
    return folderLength <= MAX_PATH - 14;
}

// The library reports success after a failed write (a full disk) and after a data connection
// cut short but answered 226: a file shorter than the listing said did not arrive whole.
static bool ArrivedWhole(const char *path, LPARAM leastSize)
{
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    return GetFileAttributesExA(path, GetFileExInfoStandard, &file) &&
           ((ULONGLONG)file.nFileSizeHigh << 32 | file.nFileSizeLow) >= (ULONGLONG)leastSize;
}

// Where no temporary name fits, fetching straight to the path is safe only while there is no
// file to lose; the library is told not to replace one that appears meanwhile. A short file
// is deleted, so that none is left under the chosen name.
static void FetchToNewFile(const char *remoteName, const char *localPath, LPARAM leastSize)
{
    if (GetFileAttributesA(localPath) != INVALID_FILE_ATTRIBUTES) {
        ShowError(kDownloadFailed);
    } else if (!p_FtpGetFileA(g_session.connection, remoteName, localPath, TRUE, 0, FTP_TRANSFER_TYPE_BINARY, 0)) {
        ShowTransferFailure(kDownloadFailed);
    } else if (!ArrivedWhole(localPath, leastSize)) {
        (void)DeleteFileA(localPath);
        ShowError(kDownloadFailed);
    }
}

// The library creates the local file before it asks for the remote one and deletes it on any
// failure, so fetching straight to `localPath` would destroy a file already there when the
// download fails, and a transfer cut short would leave a truncated file under the chosen
// name. Fetch into a fresh file beside it instead, and put it in place only when it arrived whole.
static void FetchReplacing(const char *remoteName, const char *localPath, LPARAM leastSize)
{
    char folder[kNameBufferSize];
    GetFolderOfPath(folder, sizeof folder, localPath);
    if (TextEquals(folder, ""))
        CopyTextToBuffer(folder, sizeof folder, ".");
    if (!TemporaryNameFits(std::strlen(folder))) {
        FetchToNewFile(remoteName, localPath, leastSize);
        return;
    }
    char partial[MAX_PATH] = {};
    if (!GetTempFileNameA(folder, "rvx", 0, partial)) {
        ShowError(kDownloadFailed);
        return;
    }
    const bool fetched = p_FtpGetFileA(g_session.connection, remoteName, partial, FALSE, 0, FTP_TRANSFER_TYPE_BINARY, 0);
    if (fetched && ArrivedWhole(partial, leastSize) && MoveFileExA(partial, localPath, MOVEFILE_REPLACE_EXISTING))
        return;
    (void)DeleteFileA(partial);
    if (fetched)
        ShowError(kDownloadFailed);
    else
        ShowTransferFailure(kDownloadFailed);
}

// The server chose the name, so the chooser is offered only a plain file name made from it. A
// name that may have been cut may be another entry's: nothing is fetched under it.
void DownloadFile(const char *remoteName, LPARAM leastSize)
{
    if (MayHaveBeenCut(remoteName)) {
        ShowError(kDownloadFailed);
        return;
    }
    char suggestedName[kNameBufferSize];
    SafeLocalFileName(suggestedName, sizeof suggestedName, remoteName);
    char path[kNameBufferSize];
    ChooseFileToSave(g_mainWindow, path, sizeof path, suggestedName);
    if (TextEquals(path, ""))
        return;
    FetchReplacing(remoteName, path, leastSize);
}

// The selected entry, read into `name`; false when no entry is selected or its name may have
// been cut.
static bool ReadSelectedEntry(char (&name)[kNameBufferSize], int *imageIndex)
{
    const int item = SelectedListEntry();
    LPARAM leastSize = 0;
    return item != -1 && ReadListEntry(item, name, sizeof name, imageIndex, &leastSize) && !MayHaveBeenCut(name);
}

void DeleteSelectedEntry()
{
    char name[kNameBufferSize] = {};
    int imageIndex = 0;
    if (!ReadSelectedEntry(name, &imageIndex))
        return;
    switch (EntryKindOf(imageIndex)) {
    case ENTRY_FOLDER:
        if (p_FtpRemoveDirectoryA(g_session.connection, name))
            RefreshListing();
        else
            ShowLastServerResponse();  // e.g. not empty: the folder stays listed
        break;
    case ENTRY_PARENT:
        break;
    case ENTRY_FILE:
        (void)p_FtpDeleteFileA(g_session.connection, name);
        RefreshListing();
        break;
    }
}

// The new name is trimmed and otherwise sent as typed, without the test a rename makes: a
// name the server refuses simply does not appear. The listing is reloaded in every case.
void CreateFolder()
{
    char reply[kPromptReplySize];
    PromptForText(reply, sizeof reply, "Choose a folder name", "Folder name?");
    if (!IsSessionOpen())
        return;  // the main window closed while the prompt was open
    char name[kNameBufferSize];
    TrimSpaces(name, sizeof name, reply);
    if (!IsSendableName(name))
        ShowError("Invalid file name!");
    else if (!TextEquals(name, ""))
        (void)p_FtpCreateDirectoryA(g_session.connection, name);
    RefreshListing();
}

// The new name is tested and sent as typed, blanks included; trimming only tells whether
// anything was typed. The list keeps the old label until the server lists the new one. The
// parent entry's label is no name on the server: renaming it would rename whatever entry
// happens to be called "Up to parent directory", so its edit is checked but sends nothing; nor
// does a label that may have been cut.
void RenameEntry(int item, const char *newText)
{
    if (newText == nullptr)
        return;  // cancelled
    char trimmed[kNameBufferSize];
    TrimSpaces(trimmed, sizeof trimmed, newText);
    if (TextEquals(trimmed, ""))
        return;
    if (!IsValidFileName(newText) || !IsSendableName(newText)) {
        ShowError("Invalid file name!");
        return;
    }
    int imageIndex = 0;
    LPARAM leastSize = 0;
    if (!ReadListEntry(item, g_itemText, sizeof g_itemText, &imageIndex, &leastSize) ||
        EntryKindOf(imageIndex) == ENTRY_PARENT || MayHaveBeenCut(g_itemText))
        return;
    (void)p_FtpRenameFileA(g_session.connection, g_itemText, newText);
    RefreshListing();
}
