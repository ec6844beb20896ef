// tests/harness/driver.h - drives the real ruvex.exe from outside, as a person would: finds
// its windows by title, types, presses buttons and keys, reads message boxes and the list,
// and uses the file choosers. Runs under Wine inside a session (session.sh), whose FTP root,
// command log and fault file are on drive Z:.
#ifndef RUVEX_TESTS_HARNESS_DRIVER_H
#define RUVEX_TESTS_HARNESS_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

constexpr DWORD kWaitMs = 15000;
typedef std::vector<std::string> Texts;

// ---- Files: the session's, reached exactly (past MAX_PATH, trailing blanks kept) ----

std::string SessionPath(const char *variable);  // a session variable's Unix path, as a Windows path
std::string FtpRootPath(const std::string &relative = "");
std::string FreshScratchFolder(const std::string &name);
void WriteLocalFile(const std::string &path, const std::string &bytes);
std::string ReadLocalFile(const std::string &path);  // "<missing>" when it cannot be read
bool LocalFileExists(const std::string &path);
void MakeLocalFolder(const std::string &path);
Texts LocalFolderNames(const std::string &folder);  // sorted, without "." and ".."

// ---- The server ----

void ResetServer();  // an empty root, an empty log, no faults
void SetServerFaults(const std::string &rules);
void ServeListing(const Texts &lines);  // every LIST answered with exactly these lines
std::string ListingLine(const std::string &name, bool folder = false);  // as a Unix server writes it
Texts ServerLog();  // the log's lines without the connection number
Texts ClientCommands();  // the commands the client sent, in order
size_t CountStartingWith(const Texts &lines, const std::string &prefix);

// ---- The program and its windows ----

struct Ruvex {
    HANDLE process;
    DWORD id;
    HWND login, main, list;
};

bool StartRuvex(Ruvex *ruvex);  // and waits for the login window
DWORD WaitForExit(const Ruvex &ruvex, DWORD timeoutMs = kWaitMs);  // STILL_ACTIVE after the timeout
void EndRuvex(Ruvex *ruvex);  // kills it if still running
HWND WaitForWindow(const Ruvex &ruvex, const char *title, DWORD timeoutMs = kWaitMs);
std::vector<HWND> VisibleWindows(const Ruvex &ruvex);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWaitMs);
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string &text);
void PressButton(HWND dialog, int id);  // a click: WM_COMMAND with notification code 0
void PressKey(HWND target, UINT virtualKey);
void CloseByCloseBox(HWND window);
void Settle(HWND window);  // until the program has handled what it was sent and waits for input
bool Responds(HWND window);  // neither hung nor gone
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs)
{
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

struct MessageBoxSeen {
    HWND window, owner;
    std::string caption, text;
};
// A message box of the process (a dialog holding static text 0xFFFF), dismissed once read.
bool ReadMessageBox(const Ruvex &ruvex, MessageBoxSeen *seen, DWORD timeoutMs = kWaitMs);

// ---- Steps in the login and main windows; each waits until the program waits again ----

void TypeLogin(const Ruvex &ruvex, const std::string &server, const std::string &user, const std::string &password);
bool LogIn(Ruvex *ruvex, const std::string &user = "ruvex", const std::string &password = "secret");
struct ListEntry {
    std::string text;
    int image, indent;
};
std::vector<ListEntry> ReadList(const Ruvex &ruvex);
Texts ListTexts(const Ruvex &ruvex);
int FindListEntry(const Ruvex &ruvex, const std::string &text);  // -1 when absent
void ClickListItem(const Ruvex &ruvex, int index, bool twice = false);  // index -1: empty space
bool Activate(const Ruvex &ruvex, const std::string &name);  // a double click on the entry
bool Select(const Ruvex &ruvex, const std::string &name);
void Press(const Ruvex &ruvex, int id);  // a main-window button, and waits
// Edits the entry's label to `text` and ends the edit with `key` (VK_RETURN or VK_ESCAPE).
bool EditLabel(const Ruvex &ruvex, const std::string &name, const std::string &text, UINT key = VK_RETURN);
// The folder prompt, opened by its button and answered with `text` and Ok.
HWND OpenPrompt(const Ruvex &ruvex);
bool AnswerPrompt(const Ruvex &ruvex, HWND prompt, const std::string &text);
// The choosers: a path chosen, or the chooser cancelled when `path` is empty.
HWND OpenChooser(const Ruvex &ruvex, const std::string &remoteName);  // save chooser; "" : open chooser
std::string ChooserName(HWND chooser);  // what its file name field shows
void ChooseInFileDialog(HWND chooser, const std::string &path);  // does not wait
bool Choose(const Ruvex &ruvex, HWND chooser, const std::string &path);
bool Upload(const Ruvex &ruvex, const std::string &path);
bool Download(const Ruvex &ruvex, const std::string &remoteName, const std::string &path);

// Saves the window as RUVEX_SCREENSHOTS/<name>.bmp when the session asked for screenshots.
void SaveScreenshot(HWND window, const char *name);
double NowMs();

#endif
