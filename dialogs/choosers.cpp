// dialogs/choosers.cpp - the platform's open and save file choosers.
#include "dialogs.h"

#include <cwchar>

#include "../app/app.h"
#include "../app/system_libraries.h"
#include "../names/names.h"

// One entry, "All Files, (*.*)", whose pattern is empty; the list ends with an empty label.
static const WCHAR kAllFilesFilter[] = L"All Files, (*.*)\0\0";

static const char kPathTooLong[] = "This path is too long.";
static const char kPathNotExact[] = "This path holds characters that the system's code page cannot hold exactly.";

// The ANSI choosers hand back the picked path converted with the code page's best fit, which
// makes "\" of a fullwidth backslash, ".." of two fullwidth dots and "Docs" of a fullwidth "Docs": Ruvex
// would then read or write another file than the one picked. So the choosers run in Unicode,
// and the path is taken only when the code page holds it exactly: converted without best fit,
// it must convert back to the very path picked. Null when it was taken; otherwise why not.
static const char *ToSystemCodePage(char *path, size_t size, const WCHAR *picked)
{
    if (WideCharToMultiByte(CP_ACP, ExactConversionFlags(GetACP()), picked, -1, path, (int)size, nullptr, nullptr) == 0)
        return GetLastError() == ERROR_INSUFFICIENT_BUFFER ? kPathTooLong : kPathNotExact;
    WCHAR back[kNameBufferSize];
    if (MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, back, kNameBufferSize) == 0 || std::wcscmp(back, picked) != 0)
        return kPathNotExact;
    return nullptr;
}

// Why a chooser ended without a path, told by its own error; null when it was cancelled.
static const char *ChooserFailure(DWORD error)
{
    if (error == 0)
        return nullptr;
    return error == FNERR_BUFFERTOOSMALL ? kPathTooLong : "The file chooser could not be shown.";
}

// The folder of the last path picked, where the next chooser opens; empty until a path is picked.
static WCHAR g_lastFolder[kNameBufferSize];

// A chooser leaves the folder browsed as the process's current folder, which Windows keeps
// open: a USB stick saved to could not be removed safely, nor the folder deleted, until Ruvex
// ends. The system folder is one nobody needs to remove. The next chooser is sent to the last
// folder picked, where it would otherwise open, as the current folder, on XP.
static void LeaveChoosersFolder(const OPENFILENAMEW &record, bool chosen)
{
    if (chosen)
        (void)lstrcpynW(g_lastFolder, record.lpstrFile, record.nFileOffset + 1);
    char systemFolder[MAX_PATH];
    const UINT length = GetSystemDirectoryA(systemFolder, sizeof systemFolder);
    if (length != 0 && length < sizeof systemFolder)
        (void)SetCurrentDirectoryA(systemFolder);
}

// Shows a chooser that starts from the name in `path` and leaves there the chosen path, or ""
// when cancelled or failed; a failure, or a path that cannot be had, is said.
static void RunChooser(BOOL(WINAPI *showChooser)(LPOPENFILENAMEW), HWND owner, const WCHAR *title, DWORD flags,
                       char *path, size_t size)
{
    WCHAR picked[kNameBufferSize] = {};
    (void)MultiByteToWideChar(CP_ACP, 0, path, -1, picked, kNameBufferSize);
    OPENFILENAMEW record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400W;  // the record without the later trailing fields
    record.hwndOwner = owner;
    record.hInstance = g_moduleInstance;
    record.lpstrFilter = kAllFilesFilter;
    record.nFilterIndex = 1;
    record.lpstrFile = picked;
    record.nMaxFile = kNameBufferSize;
    record.lpstrInitialDir = g_lastFolder[0] != L'\0' ? g_lastFolder : nullptr;
    record.lpstrTitle = title;
    // A shortcut picked is read or replaced as itself: followed, a planted "report.pdf.lnk"
    // (Windows hides the extension) would upload, or a download replace, the file it names.
    record.Flags = flags | OFN_NODEREFERENCELINKS;
    const bool chosen = showChooser(&record);
    const char *failure = chosen ? ToSystemCodePage(path, size, picked) : ChooserFailure(p_CommDlgExtendedError());
    LeaveChoosersFolder(record, chosen);
    if (chosen && failure == nullptr)
        return;
    CopyTextToBuffer(path, size, "");
    if (failure != nullptr)
        MessageBoxA(owner, failure, "Error", MB_OK);
}

void ChooseFileToOpen(HWND owner, char *path, size_t size)
{
    CopyTextToBuffer(path, size, "");
    RunChooser(p_GetOpenFileNameW, owner, L"Select file", OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, path,
               size);
}

// No OFN_OVERWRITEPROMPT: an existing file is replaced without a question.
void ChooseFileToSave(HWND owner, char *path, size_t size, const char *suggestedName)
{
    CopyTextToBuffer(path, size, suggestedName);
    RunChooser(p_GetSaveFileNameW, owner, L"Save file as", OFN_EXPLORER | OFN_PATHMUSTEXIST, path, size);
}
