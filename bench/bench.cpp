// bench/bench.cpp - the measurements of bench/run.sh, made in its session against the session's
// FTP server. In this process, with the program's own procedures and resources (ruvex_core,
// app/ruvex.rc) and bare WinINet calls, logged in as the program logs in:
//
//   bench listing FOLDER ROUNDS     RefreshListing against a bare enumeration of the same
//                                   folder on the same connection, alternated
//   bench get REMOTE LOCAL          one bare FtpGetFileA      bench put LOCAL REMOTE: FtpPutFileA
//   bench growth FOLDER FIRST LAST  private memory after FIRST and after LAST refreshes
//
// And with the real ruvex.exe (RUVEX_EXE), driven from outside as a person would
// (tests/harness/driver.h):
//
//   bench download REMOTE LOCAL     from OK in the save chooser to the file complete
//   bench upload LOCAL              from OK in the open chooser to the server's 226
//   bench startup ROUNDS BARE       process start to the login window shown, against BARE
//                                   (a program showing the same window), alternated
//   bench peak FOLDER               peak working set once FOLDER is listed
//
// Prints "key value" lines for bench/run.sh, "error WHAT" and exit status 1 when something
// could not be measured.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>

#include "../app/app.h"
#include "../app/resource.h"
#include "../app/system_libraries.h"
#include "../browser/browser.h"
#include "../ftp/session.h"
#include "../tests/harness/driver.h"

constexpr DWORD kTransferWaitMs = 180000;

static double NowMs()
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

static int Fail(const char *what)
{
    std::printf("error %s\n", what);
    return 1;
}

// ---- In this process ----

static bool Connect()
{
    ConnectSession("127.0.0.1", kFtpPort, "", "");
    return IsSessionOpen();
}

// The main window from the program's own template, with a procedure that only records it:
// the list, the buttons and the path label are the program's, the reactions are not needed.
static INT_PTR CALLBACK BenchWindowProc(HWND window, UINT message, WPARAM, LPARAM)
{
    if (message == WM_INITDIALOG)
        g_mainWindow = window;
    return message == WM_INITDIALOG;
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

// Each wrapper calls what the program's pointer held before it, and adds the time the call took.
// The first call goes through the binding stub, which puts the library's function in the
// program's pointer: the wrapper then calls that itself and points the program's pointer back at it.
template <typename Function, Function *pointer> struct Timed;
template <typename Result, typename... Parameters, Result(WINAPI **pointer)(Parameters...)>
struct Timed<Result(WINAPI *)(Parameters...), pointer> {
    static inline Result(WINAPI *original)(Parameters...);
    static Result WINAPI Call(Parameters... arguments)
    {
        const double start = NowMs();
        const Result answer = original(arguments...);
        g_wininetMs += NowMs() - start;
        if (*pointer != Call) {
            original = *pointer;
            *pointer = Call;
        }
        return answer;
    }
};

template <auto *pointer> static void TimeCallsThrough()
{
    typedef Timed<std::remove_pointer_t<decltype(pointer)>, pointer> Wrapper;
    Wrapper::original = *pointer;
    *pointer = Wrapper::Call;
}

static void TimeTheListingCalls()
{
    TimeCallsThrough<&p_FtpGetCurrentDirectoryA>();
    TimeCallsThrough<&p_FtpFindFirstFileA>();
    TimeCallsThrough<&p_InternetFindNextFileA>();
    TimeCallsThrough<&p_InternetCloseHandle>();
}
// ---- end of the timed calls ----

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

// The two are timed in turn, the first of each pair alternating, so that neither gains from
// going first or from a change of load during the run.
static int MeasureListing(const char *folder, int rounds)
{
    if (const char *failure = OpenMainWindow(folder))
        return Fail(failure);
    for (int round = 0; round < rounds; ++round) {
        int entries = 0;
        double refreshMs = 0, wininetMs = 0, bareMs = 0;
        const auto refresh = [&] {
            g_wininetMs = 0;
            const double start = NowMs();
            RefreshListing();
            refreshMs = NowMs() - start;
            wininetMs = g_wininetMs;
            HandlePendingMessages();
        };
        const auto bare = [&] {
            const double start = NowMs();
            entries = EnumerateBare();
            bareMs = NowMs() - start;
        };
        if (round % 2 == 0)
            refresh(), bare();
        else
            bare(), refresh();
        // The list holds the parent entry besides the enumerated ones.
        if (entries == 0 || ListedEntries() != entries + 1)
            return Fail("the listing and the enumeration disagree");
        std::printf("listing_entries %d\nlisting_refresh_ms %.2f\nlisting_bare_ms %.2f\n", entries, refreshMs, bareMs);
        std::printf("listing_wininet_ms %.2f\nlisting_own_ms %.2f\n", wininetMs, refreshMs - wininetMs);
        std::fflush(stdout);
    }
    return 0;
}

static int MeasureBareTransfer(bool get, const char *from, const char *to)
{
    if (!Connect())
        return Fail("could not log in");
    const double start = NowMs();
    if (get ? !p_FtpGetFileA(g_session.connection, from, to, FALSE, 0, FTP_TRANSFER_TYPE_BINARY, 0)
            : !p_FtpPutFileA(g_session.connection, from, to, FTP_TRANSFER_TYPE_BINARY, 0))
        return Fail("the bare transfer failed");
    std::printf("bare_%s_ms %.1f\n", get ? "get" : "put", NowMs() - start);
    return 0;
}

// Wine reports no private bytes, so they come from the Linux status of the process Wine runs
// us in: RssAnon, the memory the process wrote itself, its heap above all. -1 when unreadable.
static long PrivateKb()
{
    std::ifstream status("Z:\\proc\\self\\status");
    std::string field;
    long kb = -1;
    while (status >> field && field != "RssAnon:")
        ;
    status >> kb;
    return kb;
}

static int MeasureGrowth(const char *folder, int first, int last)
{
    if (const char *failure = OpenMainWindow(folder))
        return Fail(failure);
    for (int refresh = 1; refresh <= last; ++refresh) {
        RefreshListing();
        HandlePendingMessages();
        if (refresh == 1 && ListedEntries() < 2)
            return Fail("the folder listed nothing");
        if (refresh == first || refresh == last)
            std::printf("growth_%s_private_kb %ld\n", refresh == first ? "first" : "last", PrivateKb());
    }
    return 0;
}

// ---- The real ruvex.exe, driven from outside ----

// Starts Ruvex, logs in anonymously, lets `measure` have it and closes it. `measure` answers
// null when all went well, else what failed.
template <typename Measure> static int Drive(Measure measure)
{
    Ruvex ruvex = {};
    const char *failure = StartRuvex(&ruvex) && LogIn(&ruvex, "", "") ? measure(ruvex) : "could not log in";
    if (failure == nullptr) {
        CloseByCloseBox(ruvex.main);
        failure = WaitForExit(ruvex) == 0 ? nullptr : "Ruvex did not end with exit code 0";
    }
    EndRuvex(&ruvex);
    return failure != nullptr ? Fail(failure) : 0;
}

// The end of a transfer is seen within WaitUntil's 50 ms, about 2 % of a 64 MiB transfer here.
static const char *TimeDownload(const Ruvex &ruvex, const std::string &remote, const std::string &local)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(FtpRootPath(remote), error);
    DeleteFileA(local.c_str());
    HWND chooser = error ? nullptr : OpenChooser(ruvex, remote);
    if (chooser == nullptr)
        return "the save chooser did not appear";
    const double start = NowMs();
    ChooseInFileDialog(chooser, local);
    // The program fetches into a fresh file and gives it the chosen name only when complete.
    if (!WaitUntil([&] { return std::filesystem::file_size(local, error) == size; }, kTransferWaitMs))
        return "the download did not complete";
    std::printf("ruvex_get_ms %.1f\n", NowMs() - start);
    return nullptr;
}

static const char *TimeUpload(const Ruvex &ruvex, const std::string &local)
{
    WriteLocalFile(SessionPath("RUVEX_FTP_LOG"), "");  // logged in and listed: the next 226 is the upload's
    HWND chooser = OpenChooser(ruvex, "");
    if (chooser == nullptr)
        return "the open chooser did not appear";
    const double start = NowMs();
    ChooseInFileDialog(chooser, local);
    if (!WaitUntil([] { return ReadLocalFile(SessionPath("RUVEX_FTP_LOG")).find("-> 226") != std::string::npos; }, kTransferWaitMs))
        return "the upload did not complete";
    std::printf("ruvex_put_ms %.1f\n", NowMs() - start);
    return nullptr;
}

// Milliseconds from CreateProcess to the visible login window of the new process, which is
// then closed; negative when it never showed. It polls every millisecond: WaitUntil's 50
// would swamp a start of some 250.
static double TimeToLogin(const std::string &exe)
{
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {.cb = sizeof startup};
    PROCESS_INFORMATION info = {};
    const double start = NowMs();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    Ruvex process = {info.hProcess, info.dwProcessId};
    double shownMs = -1;
    while (shownMs < 0 && NowMs() - start < kWaitMs) {
        HWND window = FindWindowA("#32770", "Login");
        DWORD owner = 0;
        if (window != nullptr && GetWindowThreadProcessId(window, &owner) && owner == info.dwProcessId &&
            IsWindowVisible(window)) {
            shownMs = NowMs() - start;
            CloseByCloseBox(window);
        }
        Sleep(1);
    }
    WaitForExit(process);
    EndRuvex(&process);
    return shownMs;
}

static int MeasureStartup(int rounds, const std::string &bare)
{
    const std::string ruvex = SessionPath("RUVEX_EXE");
    for (int round = 0; round < rounds; ++round) {
        // Under Wine the first of two starts in a row is measurably the slower one, whatever
        // the program, so each goes first in every other round.
        double bareMs = round % 2 == 1 ? TimeToLogin(bare) : 0;
        const double ruvexMs = TimeToLogin(ruvex);
        if (round % 2 == 0)
            bareMs = TimeToLogin(bare);
        if (ruvexMs < 0 || bareMs < 0)
            return Fail("a login window did not show");
        std::printf("startup_ruvex_ms %.1f\nstartup_bare_ms %.1f\n", ruvexMs, bareMs);
        std::fflush(stdout);
    }
    return 0;
}

static const char *MeasurePeak(const Ruvex &ruvex, const std::string &folder)
{
    // The program lists within the activation, so the listing is in once ClickEntry's Settle returns.
    const int listed = ClickEntry(ruvex, folder, true) && ControlText(ruvex.main, IDC_PATH_LABEL) == "/" + folder
                           ? (int)SendMessageA(ruvex.list, LVM_GETITEMCOUNT, 0, 0) : 0;
    PROCESS_MEMORY_COUNTERS counters = {.cb = sizeof counters};
    if (listed < 2 || !GetProcessMemoryInfo(ruvex.process, &counters, sizeof counters))
        return "the folder was not listed";
    std::printf("peak_entries %d\npeak_working_set_kb %lu\n", listed - 1, (unsigned long)(counters.PeakWorkingSetSize / 1024));
    return nullptr;
}

int main(int argc, char **argv)
{
    TimeTheListingCalls();
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "listing" && argc == 4)
        return MeasureListing(argv[2], std::atoi(argv[3]));
    if ((command == "get" || command == "put") && argc == 4)
        return MeasureBareTransfer(command == "get", argv[2], argv[3]);
    if (command == "growth" && argc == 5)
        return MeasureGrowth(argv[2], std::atoi(argv[3]), std::atoi(argv[4]));
    if (command == "download" && argc == 4)
        return Drive([&](const Ruvex &ruvex) { return TimeDownload(ruvex, argv[2], argv[3]); });
    if (command == "upload" && argc == 3)
        return Drive([&](const Ruvex &ruvex) { return TimeUpload(ruvex, argv[2]); });
    if (command == "startup" && argc == 4)
        return MeasureStartup(std::atoi(argv[2]), argv[3]);
    if (command == "peak" && argc == 3)
        return Drive([&](const Ruvex &ruvex) { return MeasurePeak(ruvex, argv[2]); });
    std::printf("usage: bench listing FOLDER ROUNDS | get REMOTE LOCAL | put LOCAL REMOTE | growth FOLDER FIRST LAST"
                " | download REMOTE LOCAL | upload LOCAL | startup ROUNDS BARE | peak FOLDER\n");
    return 2;
}
