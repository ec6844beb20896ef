// app/system_libraries.h - the functions Ruvex takes from system libraries that it loads
// itself, declared once: the program calls them through the p_ pointers below, the benchmark
// points some of those at wrappers that time them, and tests/check_exe.sh reads the names from
// here. Each pointer has the type of the SDK's own declaration, so every call is checked
// against it.
//
// Why load them at all, instead of importing them:
// - A library that the system does not protect is looked for first in the program's own
//   folder, most often a downloads folder where any web page can drop a file. Loaded here by
//   full path from the system folder, a file planted beside ruvex.exe never runs inside it.
// - WinINet and the common dialogs, with what they pull in, would be most of the time until
//   the login window shows, and neither is needed before Login is pressed.
// - mingw-w64's own delay-load imports crash on their first call under Wine.
//
// Each pointer starts at a stub that loads the library, finds the function and puts it in
// the pointer, so later calls go straight to the library. When either cannot be had, the
// call fails as the library reports failure itself, and the caller's way out follows.
#ifndef RUVEX_APP_SYSTEM_LIBRARIES_H
#define RUVEX_APP_SYSTEM_LIBRARIES_H

#include <windows.h>
#include <commctrl.h>
#include <cderr.h>
#include <commdlg.h>
#include <wininet.h>

// X(library, name, failure), each from Windows XP on: the function `name` of library.dll,
// of the type the SDK declares for it, and what a call returns when it cannot be had.
#define RUVEX_SYSTEM_FUNCTIONS(X)                           \
    X(comctl32, ImageList_Create, nullptr)                  \
    X(comctl32, ImageList_Add, -1)                          \
    X(wininet, InternetOpenA, nullptr)                      \
    X(wininet, InternetConnectA, nullptr)                   \
    X(wininet, InternetCloseHandle, FALSE)                  \
    X(wininet, InternetGetLastResponseInfoA, FALSE)         \
    X(wininet, FtpGetCurrentDirectoryA, FALSE)              \
    X(wininet, FtpFindFirstFileA, nullptr)                  \
    X(wininet, InternetFindNextFileA, FALSE)                \
    X(wininet, FtpSetCurrentDirectoryA, FALSE)              \
    X(wininet, FtpPutFileA, FALSE)                          \
    X(wininet, FtpGetFileA, FALSE)                          \
    X(wininet, FtpDeleteFileA, FALSE)                       \
    X(wininet, FtpRemoveDirectoryA, FALSE)                  \
    X(wininet, FtpCreateDirectoryA, FALSE)                  \
    X(wininet, FtpRenameFileA, FALSE)                       \
    X(comdlg32, GetOpenFileNameW, FALSE)                    \
    X(comdlg32, GetSaveFileNameW, FALSE)                    \
    X(comdlg32, CommDlgExtendedError, CDERR_INITIALIZATION) \
    X(kernel32, SetDllDirectoryA, FALSE)

// Functions of later systems, used where the system has them: Windows 8, and 7 with its update.
#define RUVEX_OPTIONAL_SYSTEM_FUNCTIONS(X) X(kernel32, SetDefaultDllDirectories, FALSE)

#define RUVEX_DECLARE_POINTER(library, name, failure) extern decltype(&::name) p_##name;
RUVEX_SYSTEM_FUNCTIONS(RUVEX_DECLARE_POINTER)
RUVEX_OPTIONAL_SYSTEM_FUNCTIONS(RUVEX_DECLARE_POINTER)
#undef RUVEX_DECLARE_POINTER

// Loads `fileName` from the system folder by its full path, and the libraries it imports from
// that folder first, never from the program's; null when it cannot be loaded.
HMODULE LoadSystemLibrary(const char *fileName);

// Takes the current folder out of the search for every later library load, and where the
// system can, makes every later load, also those a system library makes for itself, look in
// the system folder only.
void RestrictLibrarySearchToSystemFolder();

#endif
