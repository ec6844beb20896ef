// bench/bench_drive.cpp - measurements of the real ruvex.exe (RUVEX_EXE), driven from
// outside as a person would, in a session whose FTP root holds the benchmark's files:
//
//   bench_drive download REMOTE LOCAL   from OK in the save chooser to the file complete
//   bench_drive upload LOCAL            from OK in the open chooser to the server's 226
//   bench_drive startup ROUNDS BARE     process start to the login window shown, against
//                                       BARE (a program showing one dialog), alternated
//   bench_drive peak FOLDER             peak memory once FOLDER is listed
//
// Prints "key value" lines for bench/run.sh; exit status 1 when something could not be
// measured.
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../app/resource.h"
#include "../tests/harness/driver.h"
#include "clock.h"

constexpr double kTransferWaitMs = 180000;

// Polls more often than WaitUntil, so that a transfer's end is timed to a few milliseconds.
template <typename Condition> static bool PollUntil(Condition condition, double timeoutMs)
{
    const double start = NowMs();
    while (!condition()) {
        if (NowMs() - start > timeoutMs)
            return false;
        Sleep(2);
    }
    return true;
}

static int Fail(Ruvex *ruvex, const char *what)
{
    std::printf("error %s\n", what);
    EndRuvex(ruvex);
    return 1;
}

// Starts Ruvex and logs in anonymously; the main window with its first listing, or null.
static HWND StartAndLogIn(Ruvex *ruvex)
{
    return StartRuvex(ruvex) && LogIn(ruvex, "", "") ? ruvex->main : nullptr;
}

static bool CloseAndWait(Ruvex *ruvex, HWND main)
{
    CloseByCloseBox(main);
    const bool ended = WaitForExit(*ruvex) == 0;
    EndRuvex(ruvex);
    return ended;
}

static long long FileSize(const std::string &path)
{
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
        return -1;
    return ((long long)data.nFileSizeHigh << 32) | data.nFileSizeLow;
}

static int MeasureDownload(const std::string &remote, const std::string &local)
{
    Ruvex ruvex = {};
    HWND main = StartAndLogIn(&ruvex);
    if (main == nullptr)
        return Fail(&ruvex, "could not log in");
    const long long size = FileSize(FtpRootPath(remote));
    DeleteFileA(local.c_str());
    if (size <= 0 || !ClickEntry(ruvex, remote, true))
        return Fail(&ruvex, "the file to download is not listed");
    HWND chooser = WaitForWindow(ruvex, "Save file as");
    if (chooser == nullptr)
        return Fail(&ruvex, "the save chooser did not appear");
    const double start = NowMs();
    ChooseInFileDialog(chooser, local);
    // The program fetches into a fresh file and gives it the chosen name only when complete.
    if (!PollUntil([&] { return FileSize(local) == size; }, kTransferWaitMs))
        return Fail(&ruvex, "the download did not complete");
    std::printf("ruvex_get_ms %.1f\n", NowMs() - start);
    return CloseAndWait(&ruvex, main) ? 0 : 1;
}

// True once the server has answered a STOR with 226: the upload is stored.
static bool UploadStored()
{
    const Texts log = ServerLog();
    const auto store = std::find_if(log.begin(), log.end(), [](const std::string &line) { return line.rfind("STOR ", 0) == 0; });
    return std::any_of(store, log.end(), [](const std::string &line) { return line.rfind("-> 226", 0) == 0; });
}

static int MeasureUpload(const std::string &local)
{
    Ruvex ruvex = {};
    HWND main = StartAndLogIn(&ruvex);
    if (main == nullptr)
        return Fail(&ruvex, "could not log in");
    WriteLocalFile(SessionPath("RUVEX_FTP_LOG"), "");
    PressButton(main, IDC_UPLOAD);
    HWND chooser = WaitForWindow(ruvex, "Select file");
    if (chooser == nullptr)
        return Fail(&ruvex, "the open chooser did not appear");
    const double start = NowMs();
    ChooseInFileDialog(chooser, local);
    if (!PollUntil(UploadStored, kTransferWaitMs))
        return Fail(&ruvex, "the upload did not complete");
    std::printf("ruvex_put_ms %.1f\n", NowMs() - start);
    return CloseAndWait(&ruvex, main) ? 0 : 1;
}

// Milliseconds from CreateProcess to a visible window titled `title` of the new process,
// which is then closed; negative when it never showed.
static double TimeToWindow(const std::string &exe, const char *title)
{
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    const double start = NowMs();
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    CloseHandle(info.hThread);
    Ruvex process = {info.hProcess, info.dwProcessId};
    double shownMs = -1;
    while (NowMs() - start < kWaitMs) {
        HWND window = FindWindowA("#32770", title);
        DWORD owner = 0;
        if (window != nullptr && GetWindowThreadProcessId(window, &owner) && owner == info.dwProcessId &&
            IsWindowVisible(window)) {
            shownMs = NowMs() - start;
            CloseByCloseBox(window);
            break;
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
        double bareMs = round % 2 == 1 ? TimeToWindow(bare, "Login") : 0;
        const double ruvexMs = TimeToWindow(ruvex, "Login");
        if (round % 2 == 0)
            bareMs = TimeToWindow(bare, "Login");
        if (ruvexMs < 0 || bareMs < 0) {
            std::printf("error a window did not show\n");
            return 1;
        }
        std::printf("startup_ruvex_ms %.1f\nstartup_bare_ms %.1f\n", ruvexMs, bareMs);
        std::fflush(stdout);
    }
    return 0;
}

static int MeasurePeak(const std::string &folder)
{
    Ruvex ruvex = {};
    HWND main = StartAndLogIn(&ruvex);
    if (main == nullptr || !ClickEntry(ruvex, folder, true))
        return Fail(&ruvex, "could not open the folder");
    HWND list = GetDlgItem(main, IDC_FILE_LIST);
    // The folder is listed once the path label names it and the list has stopped growing.
    int listed = 0;
    if (!WaitUntil([&] {
            if (ControlText(main, IDC_PATH_LABEL) != "/" + folder)
                return false;
            Settle(main);
            const int now = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
            const bool steady = now > 1 && now == listed;
            listed = now;
            return steady;
        }, 120000))
        return Fail(&ruvex, "the folder was not listed");
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(ruvex.process, (PROCESS_MEMORY_COUNTERS *)&counters, sizeof counters))
        return Fail(&ruvex, "GetProcessMemoryInfo failed");
    std::printf("peak_entries %d\npeak_working_set_kb %lu\npeak_now_working_set_kb %lu\npeak_private_kb %lu\n",
                listed - 1, (unsigned long)(counters.PeakWorkingSetSize / 1024),
                (unsigned long)(counters.WorkingSetSize / 1024), (unsigned long)(counters.PrivateUsage / 1024));
    return CloseAndWait(&ruvex, main) ? 0 : 1;
}

int main(int argc, char **argv)
{
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "download" && argc == 4)
        return MeasureDownload(argv[2], argv[3]);
    if (command == "upload" && argc == 3)
        return MeasureUpload(argv[2]);
    if (command == "startup" && argc == 4)
        return MeasureStartup(std::atoi(argv[2]), argv[3]);
    if (command == "peak" && argc == 3)
        return MeasurePeak(argv[2]);
    std::printf("usage: bench_drive download REMOTE LOCAL | upload LOCAL | startup ROUNDS BARE | peak FOLDER\n");
    return 2;
}
