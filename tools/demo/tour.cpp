// tools/demo/tour.cpp - a guided tour of Ruvex for machines without a screen: logs in
// anonymously, opens a folder, downloads a file into the current folder, comes back up, makes a
// folder, enlarges the window, rests the pointer on a button and closes the window, saving a
// screenshot of every step into the folder named by RUVEX_SCREENSHOTS. Runs under Wine inside a session (tests/harness/session.sh)
// whose FTP root holds the sample tree. Exit status 0 when every step did what it says.
#include <cstdio>
#include <string>

#include "../../app/resource.h"
#include "../../tests/harness/driver.h"

// Saves the window as <name>.png, taken by ImageMagick's import from the display, and says
// what the step did. Wine starts a Unix program without waiting for it; import makes the file
// only once it has the picture, so its arrival means the screen may change again.
static void Step(HWND window, const char *name, const std::string &what)
{
    Settle(window);
    Sleep(300);  // let the last paint reach the display
    RECT rect = {};
    GetWindowRect(window, &rect);
    std::string command = "Z:\\usr\\bin\\import -window root -crop " + std::to_string(rect.right - rect.left) + "x" +
                          std::to_string(rect.bottom - rect.top) + "+" + std::to_string(rect.left) + "+" +
                          std::to_string(rect.top) + " +repage " + std::getenv("RUVEX_SCREENSHOTS") + "/" + name + ".png";
    STARTUPINFOA startup = {.cb = sizeof startup};
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
        WaitUntil([&] { return LocalFileExists(SessionPath("RUVEX_SCREENSHOTS") + "\\" + name + ".png"); });
    }
    std::printf("tour: %s\n", what.c_str());
    std::fflush(stdout);
}

static bool Fail(const char *what)
{
    std::printf("tour: %s\n", what);
    return false;
}

// Waits until the list shows `entry` and the path label shows `path`: the listing is in.
static bool WaitForListing(const Ruvex &ruvex, const char *path, const char *entry)
{
    return WaitUntil([&] { return ControlText(ruvex.main, IDC_PATH_LABEL) == path && FindListEntry(ruvex, entry) >= 0; });
}

static bool RunTour(Ruvex *ruvex)
{
    SetControlText(ruvex->login, IDC_SERVER, "127.0.0.1");
    Step(ruvex->login, "1-login", "1 login window: server 127.0.0.1, empty user name and password (anonymous)");
    if (!LogIn(ruvex, "", "") || !WaitForListing(*ruvex, "/", "Documents"))
        return Fail("the main window did not show the server's root");
    HWND main = ruvex->main;
    Step(main, "2-logged-in", "2 logged in: the root folder is listed");

    if (!ClickEntry(*ruvex, "Documents", true) || !WaitForListing(*ruvex, "/Documents", "report.txt"))
        return Fail("could not open the folder Documents");
    Step(main, "3-in-documents", "3 opened the folder Documents");

    HWND chooser = OpenChooser(*ruvex, "report.txt");
    if (chooser == nullptr)
        return Fail("the save chooser of report.txt did not appear");
    Step(chooser, "4-save-as", "4 activated report.txt: the save chooser offers its name");

    char folder[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof folder, folder);
    const std::string target = std::string(folder) + "\\report.txt";
    const std::string remote = ReadLocalFile(FtpRootPath("Documents\\report.txt"));
    DeleteFileA(target.c_str());
    if (!Choose(*ruvex, chooser, target) || !WaitUntil([&] { return ReadLocalFile(target) == remote; }))
        return Fail("the downloaded file did not arrive intact");
    Step(main, "5-download-done", "5 the chooser closed and report.txt arrived as " + target + " (" +
                                      std::to_string(remote.size()) + " bytes, identical to the server's)");

    if (!ClickEntry(*ruvex, "Up to parent directory", true) || !WaitForListing(*ruvex, "/", "Documents"))
        return Fail("could not go back up to the root");
    Step(main, "6-back-up", "6 went back up to the root folder");

    HWND prompt = OpenPrompt(*ruvex);
    if (prompt == nullptr)
        return Fail("the folder prompt did not appear");
    SetControlText(prompt, IDC_PROMPT_EDIT, "Reports");
    Step(prompt, "7-new-folder", "7 the new folder's name typed in");
    if (!AnswerPrompt(*ruvex, prompt, "Reports") || !WaitForListing(*ruvex, "/", "Reports"))
        return Fail("the new folder Reports is not listed");

    // The window at another size: the list fills it below the path label and the buttons.
    RECT frame = {};
    GetWindowRect(main, &frame);
    SetWindowPos(main, nullptr, 0, 0, frame.right - frame.left + 160, frame.bottom - frame.top + 60,
                 SWP_NOMOVE | SWP_NOZORDER);
    Step(main, "8-resized", "8 made the folder Reports and the window larger");

    // Each picture button names itself in a tooltip to the pointer resting on it.
    RECT button = {};
    GetWindowRect(GetDlgItem(main, IDC_DELETE), &button);
    SetCursorPos((button.left + button.right) / 2, (button.top + button.bottom) / 2);
    Sleep(1500);
    Step(main, "9-tooltip", "9 rested the pointer on the Delete button: its tooltip names it");

    CloseByCloseBox(main);
    if (WaitForExit(*ruvex) != 0)
        return Fail("Ruvex did not end with exit code 0 after its window was closed");
    std::printf("tour: 10 closed the main window: Ruvex ended with exit code 0\n");
    return true;
}

int main()
{
    Ruvex ruvex = {};
    if (std::getenv("RUVEX_SCREENSHOTS") == nullptr || !StartRuvex(&ruvex)) {
        Fail("set RUVEX_SCREENSHOTS to a folder; could not start ruvex.exe (RUVEX_EXE) or see its login window");
        return 2;
    }
    const bool done = RunTour(&ruvex);
    EndRuvex(&ruvex);
    return done ? 0 : 1;
}
