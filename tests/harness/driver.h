// tests/harness/driver.h - drives the real ruvex.exe from outside, as a person would: finds
// its windows by title, types into fields, presses buttons and keys, reads message boxes and
// the list, and reads the exit code. Runs under Wine inside a session (session.sh), which
// provides the FTP server and its files on drive Z:.
#ifndef RUVEX_TESTS_HARNESS_DRIVER_H
#define RUVEX_TESTS_HARNESS_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

constexpr DWORD kWaitMs = 15000;

// ---- The session's files: the FTP root, the server's command log, its fault rules ----

std::string SessionPath(const char *variable);  // a session variable's Unix path, as a Windows path
std::string FtpRootPath(const std::string &relative = "");
// The local file functions reach a name exactly as the server holds it, even past MAX_PATH or
// with trailing blanks or dots.
void WriteLocalFile(const std::string &path, const std::string &bytes);
bool ReadLocalFile(const std::string &path, std::string *bytes);
bool LocalFileExists(const std::string &path);
void MakeLocalFolder(const std::string &path);
void RemoveLocalTree(const std::string &path);  // the folder's content and the folder
// An empty FTP root, an empty command log and no fault rules.
void ResetServer();
// Lists a remote folder in exactly this order (names relative to the FTP root's `folder`).
void SetListingOrder(const std::string &folder, const std::vector<std::string> &names);
void SetServerFaults(const std::string &rules);
std::string ServerLog();
// The commands the server received (log lines without the connection id), in order.
std::vector<std::string> ServerCommands();
size_t CountCommandsStartingWith(const std::string &prefix);

// ---- The program ----

struct RuvexProcess {
    HANDLE process;
    DWORD id;
};

bool StartRuvex(RuvexProcess *ruvex);
// The exit code, or STILL_ACTIVE when the process is still running after `timeoutMs`.
DWORD WaitForExit(const RuvexProcess &ruvex, DWORD timeoutMs = kWaitMs);
void EndRuvex(RuvexProcess *ruvex);  // kills it if still running, closes the handle

// ---- Windows ----

// A visible top-level window of the process with exactly this title; null after the timeout.
HWND WaitForWindow(const RuvexProcess &ruvex, const char *title, DWORD timeoutMs = kWaitMs);
bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWaitMs);
std::vector<HWND> VisibleWindows(const RuvexProcess &ruvex, const char *title);
std::string WindowText(HWND window);
std::string ControlText(HWND dialog, int id);
void SetControlText(HWND dialog, int id, const std::string &text);
void PressButton(HWND dialog, int id);  // as a click: WM_COMMAND with notification code 0
void PressKey(HWND target, UINT virtualKey);  // a key typed while `target` has the focus
void CloseByCloseBox(HWND window);
// Waits until the program has handled what was sent to it and waits for input again.
void Settle(HWND window);
// Polls `condition` until it holds or the time runs out.
template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start > timeoutMs)
            return false;
        Sleep(50);
    }
}

// ---- Message boxes ----

struct MessageBoxSeen {
    HWND window;
    HWND owner;
    std::string caption;
    std::string text;
};
// A message box of the process (a dialog holding static text 0xFFFF); false after the timeout.
bool WaitForMessageBox(const RuvexProcess &ruvex, MessageBoxSeen *seen, DWORD timeoutMs = kWaitMs);
void DismissMessageBox(const MessageBoxSeen &seen);

// ---- The list view, read and used across the process boundary ----

struct ListEntry {
    std::string text;
    int image;
    int indent;
};
std::vector<ListEntry> ReadList(const RuvexProcess &ruvex, HWND list);
std::vector<std::string> ListTexts(const RuvexProcess &ruvex, HWND list);
int FindListEntry(const RuvexProcess &ruvex, HWND list, const std::string &text);  // -1 when absent
void ClickListItem(const RuvexProcess &ruvex, HWND list, int index);
void DoubleClickListItem(const RuvexProcess &ruvex, HWND list, int index);
void ClickListEmptySpace(HWND list);  // far below the last entry, deselecting
void DoubleClickListEmptySpace(HWND list);

// ---- The common file choosers (Wine's explorer-style dialogs) ----

// Types `path` into the chooser's file name field and presses its default button.
void ChooseInFileDialog(HWND chooser, const std::string &path);
void CancelFileDialog(HWND chooser);
std::string FileDialogName(HWND chooser);  // what the file name field shows

// ---- Pictures ----

// Saves the window as RUVEX_SCREENSHOTS/<name>.bmp when the session asked for screenshots.
void SaveScreenshot(HWND window, const char *name);

// ---- Local files and the server's log, for the file commands ----

// An empty folder of this name in the session's scratch space (made afresh), as a Windows path.
std::string FreshScratchFolder(const std::string &name);
// The names in a local folder, without "." and "..", sorted.
std::vector<std::string> LocalFolderNames(const std::string &folder);
// A listing line for a plain file of this name, as a Unix server writes it (with CR LF).
std::string UnixListingLine(const std::string &fileName);
// From now on every LIST is answered with exactly these bytes as its data (replacing any other
// fault rule), so a listing can hold names no file system has.
void ServeListingAsIs(const std::string &data);
// The commands the client sent, in order: the log without replies, CONNECT and DISCONNECT.
std::vector<std::string> ClientCommands();
// The client's commands from the `first`-th on (a count taken earlier from ClientCommands).
std::vector<std::string> ClientCommandsFrom(size_t first);
size_t CountStartingWith(const std::vector<std::string> &commands, const std::string &prefix);

// ---- Editing a list entry's label in place ----

// Starts editing the label of entry `index`; the list's edit field, or null.
HWND BeginLabelEdit(HWND list, int index);
// Puts `text` into the edit field and ends the edit with `key` (VK_RETURN or VK_ESCAPE).
void EndLabelEdit(HWND edit, const std::string &text, UINT key);

// ---- The file commands, done as a person does them in the main window `main` ----
// Each step waits until the program has handled it and waits for input again. A step that
// returns bool or a window gives false or null when a window it needs did not appear.

bool UploadThroughChooser(const RuvexProcess &ruvex, HWND main, const std::string &localPath);
// Double-clicks the listed file `remoteName`; the save chooser that opens.
// Activates the entry (a double click): a folder is entered, a file opens the save chooser.
bool ActivateListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name);
HWND OpenSaveChooserFor(const RuvexProcess &ruvex, HWND main, const std::string &remoteName);
bool DownloadThroughChooser(const RuvexProcess &ruvex, HWND main, const std::string &remoteName,
                            const std::string &localPath);
HWND OpenFolderPrompt(const RuvexProcess &ruvex, HWND main);
// Opens the folder prompt, types `text` and presses Ok.
bool AnswerFolderPrompt(const RuvexProcess &ruvex, HWND main, const std::string &text);
bool SelectListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name);
// Selects `name` and presses the delete button.
bool DeleteListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name);
// Edits the label of `name` to `text` and ends the edit with `key` (VK_RETURN or VK_ESCAPE).
bool EditListLabel(const RuvexProcess &ruvex, HWND main, const std::string &name, const std::string &text,
                   UINT key);
// The program still takes messages: it is neither hung nor gone.
bool Responds(HWND window);

// A monotonic clock in milliseconds, for timings.
double NowMs();

#endif
