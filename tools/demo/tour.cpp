// tools/demo/tour.cpp - a guided tour of Ruvex for machines without a screen: logs in
// anonymously, opens a folder, downloads a file into a local folder and comes back up,
// saving a screenshot of every step. Runs under Wine inside a session (tests/harness/
// session.sh) whose FTP root holds the sample tree; the download goes to the folder named
// by RUVEX_DEMO_DOWNLOADS. Exit status 0 when every step did what it says.
#include <cstdio>
#include <string>

#include "../../app/resource.h"
#include "../../tests/harness/driver.h"

static const char kFolder[] = "Documents";
static const char kFile[] = "report.txt";

// Saves the window as RUVEX_SCREENSHOTS/<name>.png, taken by ImageMagick's import from the
// display. Wine starts a Unix program without waiting for it; import makes the file only once
// it has the picture, so its arrival means the screen may change again.
static void SaveScreenshot(HWND window, const char *name)
{
    const char *folder = std::getenv("RUVEX_SCREENSHOTS");
    if (folder == nullptr)
        return;
    Settle(window);
    Sleep(300);  // let the last paint reach the display
    RECT rect = {};
    GetWindowRect(window, &rect);
    const std::string file = std::string(folder) + "/" + name + ".png";
    std::string command = "Z:\\usr\\bin\\import -window root -crop " + std::to_string(rect.right - rect.left) + "x" +
                          std::to_string(rect.bottom - rect.top) + "+" + std::to_string(rect.left) + "+" +
                          std::to_string(rect.top) + " +repage " + file;
    STARTUPINFOA startup = {.cb = sizeof startup};
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        WaitUntil([&] { return LocalFileExists(SessionPath("RUVEX_SCREENSHOTS") + "\\" + name + ".png"); });
    }
}

static bool Fail(const char *what)
{
    std::printf("tour: %s\n", what);
    return false;
}

static void Step(const char *what)
{
    std::printf("tour: %s\n", what);
    std::fflush(stdout);
}

// Waits until the list shows `entry` and the path label shows `path`: the listing is in.
static bool WaitForListing(const Ruvex &ruvex, const char *path, const char *entry)
{
    return WaitUntil([&] { return ControlText(ruvex.main, IDC_PATH_LABEL) == path && FindListEntry(ruvex, entry) >= 0; });
}

static bool RunTour(Ruvex *ruvex, const std::string &downloads)
{
    HWND login = ruvex->login;
    SetControlText(login, IDC_SERVER, "127.0.0.1");
    SaveScreenshot(login, "1-login");
    Step("1 login window: server 127.0.0.1, empty user name and password (anonymous)");

    PressButton(login, IDC_LOGIN);
    HWND main = ruvex->main = WaitForWindow(*ruvex, "Ruvex");
    ruvex->list = GetDlgItem(main, IDC_FILE_LIST);
    if (main == nullptr || !WaitForListing(*ruvex, "/", kFolder))
        return Fail("the main window did not show the server's root");
    SaveScreenshot(main, "2-logged-in");
    Step("2 logged in: the root folder is listed");

    if (!ClickEntry(*ruvex, kFolder, true) || !WaitForListing(*ruvex, "/Documents", kFile))
        return Fail("could not open the folder Documents");
    SaveScreenshot(main, "3-in-documents");
    Step("3 opened the folder Documents");

    if (!ClickEntry(*ruvex, kFile, true))
        return Fail("report.txt is not listed");
    HWND chooser = WaitForWindow(*ruvex, "Save file as");
    if (chooser == nullptr)
        return Fail("the save chooser did not appear");
    SaveScreenshot(chooser, "4-save-as");
    Step("4 activated report.txt: the save chooser offers its name");

    const std::string target = downloads + "\\" + kFile;
    DeleteFileA(target.c_str());
    ChooseInFileDialog(chooser, target);
    const std::string remote = ReadLocalFile(FtpRootPath(std::string(kFolder) + "\\" + kFile));
    std::string local;
    if (!WaitUntil([&] { return (local = ReadLocalFile(target)) == remote; }))
        return Fail("the downloaded file did not arrive intact");
    if (!WaitForWindowGone(chooser))
        return Fail("the save chooser stayed open");
    SaveScreenshot(main, "5-download-done");
    std::printf("tour: 5 the chooser closed and report.txt arrived as %s (%u bytes, identical to the server's)\n",
                target.c_str(), (unsigned)local.size());

    if (!ClickEntry(*ruvex, "Up to parent directory", true) || !WaitForListing(*ruvex, "/", kFolder))
        return Fail("could not go back up to the root");
    SaveScreenshot(main, "6-back-up");
    Step("6 went back up to the root folder");

    HWND prompt = OpenPrompt(*ruvex);
    if (prompt == nullptr)
        return Fail("the folder prompt did not appear");
    SetControlText(prompt, IDC_PROMPT_EDIT, "Reports");
    SaveScreenshot(prompt, "7-new-folder");
    if (!AnswerPrompt(*ruvex, prompt, "Reports") || !WaitForListing(*ruvex, "/", "Reports"))
        return Fail("the new folder Reports is not listed");
    Step("7 made the folder Reports");

    // The window at another size: the list fills it below the path label and the buttons.
    RECT frame = {};
    GetWindowRect(main, &frame);
    SetWindowPos(main, nullptr, 0, 0, frame.right - frame.left + 160, frame.bottom - frame.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    SaveScreenshot(main, "8-resized");
    Step("8 made the window larger");

    CloseByCloseBox(main);
    if (WaitForExit(*ruvex) != 0)
        return Fail("Ruvex did not end with exit code 0 after its window was closed");
    Step("9 closed the main window: Ruvex ended with exit code 0");
    return true;
}

int main()
{
    const std::string downloads = SessionPath("RUVEX_DEMO_DOWNLOADS");
    if (downloads.empty()) {
        Fail("set RUVEX_DEMO_DOWNLOADS to the local download folder");
        return 2;
    }
    MakeLocalFolder(downloads);
    Ruvex ruvex = {};
    if (!StartRuvex(&ruvex)) {
        Fail("could not start ruvex.exe (RUVEX_EXE) or its login window did not appear");
        return 2;
    }
    const bool done = RunTour(&ruvex, downloads);
    EndRuvex(&ruvex);
    return done ? 0 : 1;
}
