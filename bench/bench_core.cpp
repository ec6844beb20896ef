// bench/bench_core.cpp - measurements made inside one process, with the program's own
// procedures and resources (ruvex_core, app/ruvex.rc) and with bare WinINet calls, on the
// session's FTP server (anonymous, active mode, as the program logs in):
//
//   bench_core listing FOLDER ROUNDS        RefreshListing against a bare enumeration of the
//                                           same folder on the same connection, alternated
//   bench_core get REMOTE LOCAL             one bare FtpGetFileA
//   bench_core put LOCAL REMOTE             one bare FtpPutFileA
//   bench_core growth FOLDER FIRST LAST     memory after FIRST and after LAST refreshes
//
// Prints "key value" lines for bench/run.sh; exit status 1 when something could not be
// measured.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wininet.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "../app/app.h"
#include "../app/resource.h"
#include "../app/system_libraries.h"
#include "../browser/browser.h"
#include "../ftp/session.h"
#include "clock.h"

static int Fail(const char *what)
{
    std::printf("error %s\n", what);
    return 1;
}

static bool Connect()
{
    ConnectSession("127.0.0.1", kFtpPort, "", "");
    return IsSessionOpen();
}

// The main window from the program's own template, with a procedure that only records it:
// the list, the buttons and the path label are the program's, the reactions are not needed.
static INT_PTR CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG) {
        g_mainWindow = window;
        return TRUE;
    }
    return FALSE;
}

// Null when all went well, else what failed.
static const char *OpenMainWindow(const char *folder)
{
    (void)LoadSystemLibrary("comctl32.dll");
    g_moduleInstance = GetModuleHandleA(nullptr);
    if (CreateDialogParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, BenchWindowProc, 0) == nullptr)
        return "could not create the main window";
    if (!Connect())
        return "could not log in";
    if (!p_FtpSetCurrentDirectoryA(g_session.connection, folder))
        return "could not change to the folder";
    LoadImages();
    return nullptr;
}

// Lets the window handle what the last refresh left it, its repaint above all, so that no
// round pays for the one before.
static void HandlePendingMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

static int ListedEntries()
{
    return (int)SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_GETITEMCOUNT, 0, 0);
}

// ---- Time spent inside the WinINet calls that RefreshListing makes ----
// The program's pointers to the four listing calls are pointed at wrappers that time the real
// functions, so that one refresh splits into the library's time and the program's own share.

static double g_wininetMs;

static FARPROC RealWinInet(const char *name)
{
    return GetProcAddress(LoadSystemLibrary("wininet.dll"), name);
}

// Calls the real `name` with the wrapper's arguments and adds the time it took.
#define TIMED(result, name, parameters, arguments)                              \
    static result WINAPI Timed_##name parameters                                \
    {                                                                           \
        static const auto real = (decltype(p_##name))(void (*)())RealWinInet(#name); \
        const double start = NowMs();                                           \
        const result answer = real arguments;                                   \
        g_wininetMs += NowMs() - start;                                         \
        return answer;                                                          \
    }
TIMED(BOOL, FtpGetCurrentDirectoryA, (HINTERNET connection, LPSTR directory, LPDWORD length),
      (connection, directory, length))
TIMED(HINTERNET, FtpFindFirstFileA,
      (HINTERNET connection, LPCSTR pattern, LPWIN32_FIND_DATAA found, DWORD flags, DWORD_PTR context),
      (connection, pattern, found, flags, context))
TIMED(BOOL, InternetFindNextFileA, (HINTERNET find, LPVOID found), (find, found))
TIMED(BOOL, InternetCloseHandle, (HINTERNET handle), (handle))

// What RefreshListing does at its core, without the list: the enumeration alone.
static int EnumerateBare()
{
    WIN32_FIND_DATAA found = {};
    int count = 0;
    HINTERNET find = p_FtpFindFirstFileA(g_session.connection, nullptr, &found, INTERNET_FLAG_NO_CACHE_WRITE, 0);
    if (find == nullptr)
        return 0;
    do
        ++count;
    while (p_InternetFindNextFileA(find, &found));
    p_InternetCloseHandle(find);
    return count;
}

// The refresh's whole time; `wininetMs` receives the part spent inside WinINet.
static double TimeRefresh(double *wininetMs)
{
    g_wininetMs = 0;
    const double start = NowMs();
    RefreshListing();
    const double ms = NowMs() - start;
    *wininetMs = g_wininetMs;
    HandlePendingMessages();
    return ms;
}

static double TimeBareEnumeration(int *entries)
{
    const double start = NowMs();
    *entries = EnumerateBare();
    return NowMs() - start;
}

// The two are timed in turn, the first of each pair alternating, so that neither gains from
// going first or from a change of load during the run.
static int MeasureListing(const char *folder, int rounds)
{
    if (const char *failure = OpenMainWindow(folder))
        return Fail(failure);
    for (int round = 0; round < rounds; ++round) {
        int entries = 0;
        double refreshMs = 0, wininetMs = 0, bareMs = 0;
        if (round % 2 == 0) {
            refreshMs = TimeRefresh(&wininetMs);
            bareMs = TimeBareEnumeration(&entries);
        } else {
            bareMs = TimeBareEnumeration(&entries);
            refreshMs = TimeRefresh(&wininetMs);
        }
        // The list holds the parent entry besides the enumerated ones.
        if (entries == 0 || ListedEntries() != entries + 1)
            return Fail("the listing and the enumeration disagree");
        std::printf("listing_entries %d\nlisting_refresh_ms %.2f\nlisting_bare_ms %.2f\n", entries, refreshMs,
                    bareMs);
        std::printf("listing_wininet_ms %.2f\nlisting_own_ms %.2f\n", wininetMs, refreshMs - wininetMs);
        std::fflush(stdout);
    }
    return 0;
}

static int MeasureGet(const char *remote, const char *local)
{
    if (!Connect())
        return Fail("could not log in");
    const double start = NowMs();
    if (!p_FtpGetFileA(g_session.connection, remote, local, FALSE, 0, FTP_TRANSFER_TYPE_BINARY, 0))
        return Fail("FtpGetFileA failed");
    std::printf("bare_get_ms %.1f\n", NowMs() - start);
    return 0;
}

static int MeasurePut(const char *local, const char *remote)
{
    if (!Connect())
        return Fail("could not log in");
    const double start = NowMs();
    if (!p_FtpPutFileA(g_session.connection, local, remote, FTP_TRANSFER_TYPE_BINARY, 0))
        return Fail("FtpPutFileA failed");
    std::printf("bare_put_ms %.1f\n", NowMs() - start);
    return 0;
}

// A field of the Linux status of the process Wine runs us in, in KB; -1 when unreadable.
// Wine fills the working set from it but reports no private bytes, so those come from here:
// RssAnon is the memory the process wrote itself, its heap above all.
static long LinuxStatusKb(const char *field)
{
    FILE *status = std::fopen("Z:\\proc\\self\\status", "r");
    if (status == nullptr)
        return -1;
    char line[256];
    long kb = -1;
    const size_t length = std::strlen(field);
    while (kb < 0 && std::fgets(line, sizeof line, status) != nullptr)
        if (std::strncmp(line, field, length) == 0 && line[length] == ':')
            kb = std::atol(line + length + 1);
    std::fclose(status);
    return kb;
}

static void PrintMemory(const char *when)
{
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    std::printf("growth_%s_working_set_kb %lu\ngrowth_%s_anonymous_kb %ld\n", when,
                (unsigned long)(counters.WorkingSetSize / 1024), when, LinuxStatusKb("RssAnon"));
}

static int MeasureGrowth(const char *folder, int first, int last)
{
    if (const char *failure = OpenMainWindow(folder))
        return Fail(failure);
    const double start = NowMs();
    for (int refresh = 1; refresh <= last; ++refresh) {
        RefreshListing();
        HandlePendingMessages();
        if (refresh == 1 && ListedEntries() < 2)
            return Fail("the folder listed nothing");
        if (refresh == first)
            PrintMemory("first");
    }
    PrintMemory("last");
    std::printf("growth_entries %d\ngrowth_refresh_ms %.2f\n", ListedEntries() - 1, (NowMs() - start) / last);
    return 0;
}

int main(int argc, char **argv)
{
    p_FtpGetCurrentDirectoryA = Timed_FtpGetCurrentDirectoryA;
    p_FtpFindFirstFileA = Timed_FtpFindFirstFileA;
    p_InternetFindNextFileA = Timed_InternetFindNextFileA;
    p_InternetCloseHandle = Timed_InternetCloseHandle;
    const char *command = argc > 1 ? argv[1] : "";
    if (std::strcmp(command, "listing") == 0 && argc == 4)
        return MeasureListing(argv[2], std::atoi(argv[3]));
    if (std::strcmp(command, "get") == 0 && argc == 4)
        return MeasureGet(argv[2], argv[3]);
    if (std::strcmp(command, "put") == 0 && argc == 4)
        return MeasurePut(argv[2], argv[3]);
    if (std::strcmp(command, "growth") == 0 && argc == 5)
        return MeasureGrowth(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    std::printf("usage: bench_core listing FOLDER ROUNDS | get REMOTE LOCAL | put LOCAL REMOTE | "
                "growth FOLDER FIRST LAST\n");
    return 2;
}
