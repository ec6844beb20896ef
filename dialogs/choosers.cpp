// dialogs/choosers.cpp - the platform's open and save file choosers.
#include "dialogs.h"

#include "../app/app.h"
#include "../app/system_libraries.h"
#include "../browser/browser.h"
#include "../names/names.h"

// One entry, "All Files, (*.*)", whose pattern is empty; the list ends with an empty label.
static const char kAllFilesFilter[] = "All Files, (*.*)\0\0";

// Shows a chooser with `fileName` as its name buffer, which it starts from and leaves holding
// the chosen path, or "" when cancelled or failed.
static void RunChooser(BOOL(WINAPI *showChooser)(LPOPENFILENAMEA), const char *title, DWORD flags,
                       char *fileName, size_t size)
{
    OPENFILENAMEA record = {};
    record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;  // the record without the later trailing fields
    record.hwndOwner = g_mainWindow;
    record.hInstance = g_moduleInstance;
    record.lpstrFilter = kAllFilesFilter;
    record.nFilterIndex = 1;
    record.lpstrFile = fileName;
    record.nMaxFile = (DWORD)size;
    record.lpstrTitle = title;
    record.Flags = flags;
    if (!showChooser(&record))
        CopyTextToBuffer(fileName, size, "");
}

void ChooseFileToOpen(char *path, size_t size)
{
    CopyTextToBuffer(path, size, "");
    RunChooser(p_GetOpenFileNameA, "Select file", OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, path, size);
}

// No OFN_OVERWRITEPROMPT: an existing file is replaced without a question.
void ChooseFileToSave(char *path, size_t size, const char *suggestedName)
{
    CopyTextToBuffer(path, size, suggestedName);
    RunChooser(p_GetSaveFileNameA, "Save file as", OFN_EXPLORER | OFN_PATHMUSTEXIST, path, size);
}
