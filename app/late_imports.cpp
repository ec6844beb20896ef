// app/late_imports.cpp - WinINet and the common dialogs, loaded when the program first calls
// them instead of when it starts. Loading them, and the libraries they pull in, would be most
// of what the program adds to the time until the login window shows, and neither is called
// before Login is pressed.
//
// The program calls each of their functions through its import slot, as usual. Here each slot
// starts out pointing at a stub that loads the library, puts the function's own address into
// the slot and calls it, so that every later call goes straight to the library.
#include <windows.h>
#include <commdlg.h>
#include <wininet.h>

struct LateLibrary {
    const char *name;
    HMODULE module;  // null until its first function is called
};

static LateLibrary g_winInet = {"wininet.dll", nullptr};
static LateLibrary g_commonDialogs = {"comdlg32.dll", nullptr};

static void *Bind(void **slot, LateLibrary *library, const char *name)
{
    if (library->module == nullptr)
        library->module = LoadLibraryA(library->name);
    *slot = (void *)GetProcAddress(library->module, name);
    return *slot;
}

// The slot's symbol carries the argument bytes, as the compiler names a __stdcall import.
#define LATE_BOUND(library, result, name, bytes, params, args)                                \
    extern "C" void *g_slot_##name __asm__("__imp__" #name "@" #bytes);                      \
    static result WINAPI BindAndCall_##name params                                            \
    {                                                                                         \
        return ((result(WINAPI *) params)Bind(&g_slot_##name, &library, #name))args;          \
    }                                                                                         \
    void *g_slot_##name = (void *)BindAndCall_##name;

typedef DWORD_PTR Context;
LATE_BOUND(g_winInet, HINTERNET, InternetOpenA, 20, (LPCSTR a, DWORD b, LPCSTR c, LPCSTR d, DWORD e), (a, b, c, d, e))
LATE_BOUND(g_winInet, HINTERNET, InternetConnectA, 32,
           (HINTERNET a, LPCSTR b, INTERNET_PORT c, LPCSTR d, LPCSTR e, DWORD f, DWORD g, Context h),
           (a, b, c, d, e, f, g, h))
LATE_BOUND(g_winInet, BOOL, InternetCloseHandle, 4, (HINTERNET a), (a))
LATE_BOUND(g_winInet, BOOL, InternetGetLastResponseInfoA, 12, (LPDWORD a, LPSTR b, LPDWORD c), (a, b, c))
LATE_BOUND(g_winInet, BOOL, FtpGetCurrentDirectoryA, 12, (HINTERNET a, LPSTR b, LPDWORD c), (a, b, c))
LATE_BOUND(g_winInet, HINTERNET, FtpFindFirstFileA, 20,
           (HINTERNET a, LPCSTR b, LPWIN32_FIND_DATAA c, DWORD d, Context e), (a, b, c, d, e))
LATE_BOUND(g_winInet, BOOL, InternetFindNextFileA, 8, (HINTERNET a, LPVOID b), (a, b))
LATE_BOUND(g_winInet, BOOL, FtpSetCurrentDirectoryA, 8, (HINTERNET a, LPCSTR b), (a, b))
LATE_BOUND(g_winInet, BOOL, FtpPutFileA, 20, (HINTERNET a, LPCSTR b, LPCSTR c, DWORD d, Context e), (a, b, c, d, e))
LATE_BOUND(g_winInet, BOOL, FtpGetFileA, 28,
           (HINTERNET a, LPCSTR b, LPCSTR c, BOOL d, DWORD e, DWORD f, Context g), (a, b, c, d, e, f, g))
LATE_BOUND(g_winInet, BOOL, FtpDeleteFileA, 8, (HINTERNET a, LPCSTR b), (a, b))
LATE_BOUND(g_winInet, BOOL, FtpRemoveDirectoryA, 8, (HINTERNET a, LPCSTR b), (a, b))
LATE_BOUND(g_winInet, BOOL, FtpCreateDirectoryA, 8, (HINTERNET a, LPCSTR b), (a, b))
LATE_BOUND(g_winInet, BOOL, FtpRenameFileA, 12, (HINTERNET a, LPCSTR b, LPCSTR c), (a, b, c))
LATE_BOUND(g_commonDialogs, BOOL, GetOpenFileNameA, 4, (LPOPENFILENAMEA a), (a))
LATE_BOUND(g_commonDialogs, BOOL, GetSaveFileNameA, 4, (LPOPENFILENAMEA a), (a))
