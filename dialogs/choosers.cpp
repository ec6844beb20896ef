// dialogs/choosers.cpp - the platform's open and save file choosers.
#include "dialogs.h"

#include <cwchar>

#include "../app/app.h"
#include "../app/system_libraries.h"
#include "../names/names.h"

// One entry, "All Files, (*.*)", whose pattern is empty; the list ends with an empty label.
static const WCHAR kAllFilesFilter[] = L"All Files, (*.*)\0\0";

// The ANSI choosers hand back the picked path converted with the code page's best fit, which
// makes "\" of a fullwidth backslash, ".." of two fullwidth dots and "Docs" of a fullwidth "Docs": Ruvex
// would then read or write another file than the one picked. So the choosers run in Unicode,
// and the path is taken only when the code page holds it exactly: converted without best fit,
// it must convert back to the very path picked.
static bool ToSystemCodePage(char *path, size_t size, const WCHAR *picked)
{
    WCHAR back[kNameBufferSize];
    return WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, picked, -1, path, (int)size, nullptr, nullptr) > 0 &&
           MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, back, kNameBufferSize) > 0 &&
           std::wcscmp(back, picked) == 0;
}

// Why a chooser gave no path, told by the error of the chooser or, when it gave one, of its
// conversion to the code page.
static const char *ChooserFailureText(bool chosen, DWORD error)
{
    if (error == (chosen ? ERROR_INSUFFICIENT_BUFFER : FNERR_BUFFERTOOSMALL))
        return "This path is too long.";
    return chosen ? "This path holds characters that the system's code page cannot hold exactly."
                  : "The file chooser could not be shown.";
}

// Shows a chooser that starts from the name in `path` and leaves there the chosen path, or ""
// when cancelled, failed, or when the path cannot be had in the code page, which is then said.
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
    record.lpstrTitle = title;
    record.Flags = flags;
    const bool chosen = showChooser(&record);
    if (chosen && ToSystemCodePage(path, size, picked))
        return;
    const DWORD error = chosen ? GetLastError() : p_CommDlgExtendedError();  // 0: cancelled
    CopyTextToBuffer(path, size, "");
    if (error != 0)
        MessageBoxA(owner, ChooserFailureText(chosen, error), "Error", MB_OK);
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
