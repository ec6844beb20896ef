// browser/file_ops.cpp - the commands on remote entries: upload, download, delete, new folder
// and rename. Nothing is confirmed; transfers are binary.
#include "browser.h"

#include <cstring>

#include "../app/system_libraries.h"
#include "../dialogs/dialogs.h"
#include "../ftp/session.h"
#include "file_types.h"

void ShowError(const char *text)
{
    MessageBoxA(g_mainWindow, text, "Error", MB_OK);
}

static const char kUploadFailed[] = "The upload did not complete.";
static const char kDownloadFailed[] = "The download did not complete.";

FtpFailure ShowFtpFailure(DWORD error, const char *notCompleted)
{
    char reply[512];
    const FtpFailure failure = ReadFtpFailure(error, reply, sizeof reply);
    if (!TextEquals(reply, ""))
        ShowError(reply);
    else
        ShowError(failure == FTP_CONNECTION_LOST ? "The connection to the server was lost." : notCompleted);
    return failure;
}

// A name typed by the person goes to the server as a command argument, sent raw: a CR or
// LF in it would start a second command there. Such a name is refused like one with a
// forbidden character.
static bool IsSendableName(const char *name)
{
    return !HasControlCharacter(name);
}

// The size of a local file; false when it cannot be read.
static bool GetLocalFileSize(const char *path, ULONGLONG *size)
{
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &file))
        return false;
    *size = (ULONGLONG)file.nFileSizeHigh << 32 | file.nFileSizeLow;
    return true;
}

// The library takes as whole an upload that the server kept only part of and answered 226 for
// (a full disk or quota on its side; under Wine, a failed read of the local file taken for its
// end), so the reloaded listing is asked for the size the server kept. A listing without sizes
// gives 0, and tells nothing.
static bool UploadArrivedWhole(const char *remoteName, ULONGLONG localSize)
{
    ListEntry listed;
    const int item = FindListedFile(remoteName);
    return item == -1 || !ReadListEntry(item, &listed) || listed.size == 0 || listed.size >= localSize;
}

void UploadFile(const char *localPath)
{
    if (TextEquals(localPath, ""))
        return;  // cancelled: nothing sent, nothing reloaded
    const char *remoteName = GetBaseName(localPath);
    if (!p_FtpPutFileA(g_session.connection, localPath, remoteName, FTP_TRANSFER_TYPE_BINARY,
                       (DWORD_PTR)&g_session.context)) {
        // Once the connection is gone, a reload would only say so a second time.
        if (ShowFtpFailure(GetLastError(), kUploadFailed) != FTP_CONNECTION_LOST)
            RefreshListing();
        return;
    }
    RefreshListing();
    ULONGLONG localSize = 0;
    if (GetLocalFileSize(localPath, &localSize) && !UploadArrivedWhole(remoteName, localSize))
        ShowError(kUploadFailed);
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
static bool ArrivedWhole(const char *path, ULONGLONG listedSize)
{
    ULONGLONG size = 0;
    return GetLocalFileSize(path, &size) && size >= listedSize;
}

// A download shorter than the listing said is not taken. But the file may have shrunk since it
// was listed: the listing is reloaded, so that the next try is judged by the size it has now.
static void ShowShortDownload()
{
    ShowError(kDownloadFailed);
    RefreshListing();
}

// Binary, from the server itself rather than the internet cache, and leaving no copy there.
constexpr DWORD kFetchFlags = FTP_TRANSFER_TYPE_BINARY | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;

// Where no temporary name fits, fetching straight to the path is safe only while there is no
// file to lose; the library is told not to replace one that appears meanwhile. A short file
// is deleted, so that none is left under the chosen name.
static void FetchToNewFile(const char *remoteName, const char *localPath, ULONGLONG listedSize)
{
    if (GetFileAttributesA(localPath) != INVALID_FILE_ATTRIBUTES) {
        ShowError(kDownloadFailed);
    } else if (!p_FtpGetFileA(g_session.connection, remoteName, localPath, TRUE, 0, kFetchFlags, 0)) {
        (void)ShowFtpFailure(GetLastError(), kDownloadFailed);
    } else if (!ArrivedWhole(localPath, listedSize)) {
        (void)DeleteFileA(localPath);
        ShowShortDownload();
    }
}

// The library creates the local file before it asks for the remote one and deletes it on any
// failure, so fetching straight to `localPath` would destroy a file already there when the
// download fails, and a transfer cut short would leave a truncated file under the chosen
// name. Fetch into a fresh file beside it instead, and put it in place only when it arrived whole.
static void FetchReplacing(const char *remoteName, const char *localPath, ULONGLONG listedSize)
{
    char folder[kLocalPathSize];
    GetFolderOfPath(folder, sizeof folder, localPath);
    if (TextEquals(folder, ""))
        CopyTextToBuffer(folder, sizeof folder, ".");
    if (!TemporaryNameFits(std::strlen(folder))) {
        FetchToNewFile(remoteName, localPath, listedSize);
        return;
    }
    char partial[MAX_PATH] = {};
    if (!GetTempFileNameA(folder, "rvx", 0, partial)) {
        ShowError(kDownloadFailed);
        return;
    }
    if (!p_FtpGetFileA(g_session.connection, remoteName, partial, FALSE, 0, kFetchFlags, 0)) {
        const DWORD error = GetLastError();  // before the cleaning up overwrites it
        (void)DeleteFileA(partial);
        (void)ShowFtpFailure(error, kDownloadFailed);
    } else if (!ArrivedWhole(partial, listedSize)) {
        (void)DeleteFileA(partial);
        ShowShortDownload();
    } else if (!MoveFileExA(partial, localPath, MOVEFILE_REPLACE_EXISTING)) {
        (void)DeleteFileA(partial);
        ShowError(kDownloadFailed);
    }
}

// The server chose the name, so the chooser is offered only a plain file name made from it. A
// name that may have been cut may be another entry's: nothing is fetched under it.
void DownloadFile(const char *remoteName, ULONGLONG listedSize)
{
    if (MayHaveBeenCut(remoteName)) {
        ShowError(kDownloadFailed);
        return;
    }
    char suggestedName[kNameBufferSize];
    SafeLocalFileName(suggestedName, sizeof suggestedName, remoteName);
    char path[kLocalPathSize];
    ChooseFileToSave(g_mainWindow, path, sizeof path, suggestedName);
    if (TextEquals(path, ""))
        return;
    FetchReplacing(remoteName, path, listedSize);
}

// The selected entry; false when no entry is selected or its name may have been cut.
static bool ReadSelectedEntry(ListEntry *entry)
{
    const int item = SelectedListEntry();
    return item != -1 && ReadListEntry(item, entry) && !MayHaveBeenCut(entry->name);
}

void DeleteSelectedEntry()
{
    ListEntry entry;
    if (!ReadSelectedEntry(&entry))
        return;
    switch (EntryKindOf(entry.imageIndex)) {
    case ENTRY_FOLDER:
        if (p_FtpRemoveDirectoryA(g_session.connection, entry.name))
            RefreshListing();
        else  // e.g. not empty: the folder stays listed
            (void)ShowFtpFailure(GetLastError(), "The folder could not be removed.");
        break;
    case ENTRY_PARENT:
        break;
    case ENTRY_FILE:
        (void)p_FtpDeleteFileA(g_session.connection, entry.name);
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
    ListEntry entry;
    if (!ReadListEntry(item, &entry) || EntryKindOf(entry.imageIndex) == ENTRY_PARENT || MayHaveBeenCut(entry.name))
        return;
    (void)p_FtpRenameFileA(g_session.connection, entry.name, newText);
    RefreshListing();
}
