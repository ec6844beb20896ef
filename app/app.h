// app/app.h - what the application shell shares with the windows: the module instance and
// the application icon; and how names are read.
#ifndef RUVEX_APP_APP_H
#define RUVEX_APP_APP_H

#include <windows.h>

// The program's own module, recorded at start-up; every dialog and picture comes from it.
extern HINSTANCE g_moduleInstance;

// Makes the application icon the large icon of the window's class (the dialog class, so
// every dialog of the program shows it).
void SetApplicationIcon(HWND window);

// Has the name operations read characters as the system's ANSI code page groups its bytes,
// one or two to a character.
void ReadNamesInSystemCodePage();

#endif
