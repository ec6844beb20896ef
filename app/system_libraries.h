// app/system_libraries.h - the functions Ruvex takes from system libraries that it loads
// itself, declared once: the program calls them through the p_ pointers below, the tests and
// the benchmark may point those elsewhere, and tests/check_exe.sh reads the names from here.
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
#include <commdlg.h>
#include <wininet.h>

// X(library, result, name, parameters, arguments, failure), each from Windows XP on.
#define RUVEX_SYSTEM_FUNCTIONS(X)                                                                                \
    X(comctl32, HIMAGELIST, ImageList_Create, (int width, int height, UINT flags, int initial, int grow),       \
      (width, height, flags, initial, grow), nullptr)                                                           \
    X(comctl32, int, ImageList_Add, (HIMAGELIST list, HBITMAP image, HBITMAP mask), (list, image, mask), -1)    \
    X(wininet, HINTERNET, InternetOpenA, (LPCSTR agent, DWORD access, LPCSTR proxy, LPCSTR bypass, DWORD flags), \
      (agent, access, proxy, bypass, flags), nullptr)                                                           \
    X(wininet, HINTERNET, InternetConnectA,                                                                     \
      (HINTERNET internet, LPCSTR server, INTERNET_PORT port, LPCSTR user, LPCSTR password, DWORD service,      \
       DWORD flags, DWORD_PTR context),                                                                         \
      (internet, server, port, user, password, service, flags, context), nullptr)                               \
    X(wininet, BOOL, InternetCloseHandle, (HINTERNET handle), (handle), FALSE)                                  \
    X(wininet, BOOL, InternetGetLastResponseInfoA, (LPDWORD error, LPSTR text, LPDWORD length),                \
      (error, text, length), FALSE)                                                                             \
    X(wininet, BOOL, FtpGetCurrentDirectoryA, (HINTERNET connection, LPSTR directory, LPDWORD length),         \
      (connection, directory, length), FALSE)                                                                   \
    X(wininet, HINTERNET, FtpFindFirstFileA,                                                                    \
      (HINTERNET connection, LPCSTR pattern, LPWIN32_FIND_DATAA found, DWORD flags, DWORD_PTR context),         \
      (connection, pattern, found, flags, context), nullptr)                                                    \
    X(wininet, BOOL, InternetFindNextFileA, (HINTERNET find, LPVOID found), (find, found), FALSE)               \
    X(wininet, BOOL, FtpSetCurrentDirectoryA, (HINTERNET connection, LPCSTR name), (connection, name), FALSE)   \
    X(wininet, BOOL, FtpPutFileA,                                                                               \
      (HINTERNET connection, LPCSTR local, LPCSTR remote, DWORD flags, DWORD_PTR context),                      \
      (connection, local, remote, flags, context), FALSE)                                                       \
    X(wininet, BOOL, FtpGetFileA,                                                                               \
      (HINTERNET connection, LPCSTR remote, LPCSTR local, BOOL failIfExists, DWORD attributes, DWORD flags,     \
       DWORD_PTR context),                                                                                      \
      (connection, remote, local, failIfExists, attributes, flags, context), FALSE)                             \
    X(wininet, BOOL, FtpDeleteFileA, (HINTERNET connection, LPCSTR name), (connection, name), FALSE)            \
    X(wininet, BOOL, FtpRemoveDirectoryA, (HINTERNET connection, LPCSTR name), (connection, name), FALSE)       \
    X(wininet, BOOL, FtpCreateDirectoryA, (HINTERNET connection, LPCSTR name), (connection, name), FALSE)       \
    X(wininet, BOOL, FtpRenameFileA, (HINTERNET connection, LPCSTR from, LPCSTR to), (connection, from, to),   \
      FALSE)                                                                                                    \
    X(comdlg32, BOOL, GetOpenFileNameW, (LPOPENFILENAMEW record), (record), FALSE)                              \
    X(comdlg32, BOOL, GetSaveFileNameW, (LPOPENFILENAMEW record), (record), FALSE)                              \
    X(kernel32, BOOL, SetDllDirectoryA, (LPCSTR folder), (folder), FALSE)

// Functions of later systems, used where the system has them: Windows 8, and 7 with its update.
#define RUVEX_OPTIONAL_SYSTEM_FUNCTIONS(X) \
    X(kernel32, BOOL, SetDefaultDllDirectories, (DWORD directories), (directories), FALSE)

#define RUVEX_DECLARE_POINTER(library, result, name, parameters, arguments, failure) \
    extern result(WINAPI *p_##name) parameters;
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
