// app/main.cpp - the entry: the login dialog, then the main window, then the end.
#include "app.h"

#include "../browser/browser.h"
#include "../dialogs/dialogs.h"
#include "../ftp/session.h"
#include "system_libraries.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    RestrictLibrarySearchToSystemFolder();
    ReadNamesInSystemCodePage();
    // The main window's template names the list view's class, which exists only once the
    // common controls are loaded. The library stays loaded for the whole run.
    (void)LoadSystemLibrary("comctl32.dll");
    g_moduleInstance = GetModuleHandleA(nullptr);

    // Returns only with a live connection, unless the dialog could not be shown at all;
    // closing it ends the process.
    ShowLoginDialog();
    if (!IsSessionOpen()) {
        CloseSession();
        MessageBoxA(nullptr, "Error connecting, exiting process...", "Error!", MB_OK);
        ExitProcess(0);
    }

    // The main window closes the session itself when it closes.
    ShowMainWindow();
    ExitProcess(0);
}
