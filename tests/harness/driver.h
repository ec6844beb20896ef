// tests/harness/driver.h - drives the real ruvex.exe from outside as a person would, under Wine in a
// session (session.sh), whose FTP root, command log and fault file are on drive Z:.
#ifndef RUVEX_TESTS_HARNESS_DRIVER_H
#define RUVEX_TESTS_HARNESS_DRIVER_H

#include <windows.h>
#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../../app/resource.h"

constexpr DWORD kWaitMs = 60000;  // an emulated 32-bit program is slow
typedef std::vector<std::string> Texts;

template <typename Condition> bool WaitUntil(Condition condition, DWORD timeoutMs = kWaitMs)
{
    for (const DWORD start = GetTickCount(); !condition(); Sleep(50))
        if (GetTickCount() - start > timeoutMs)
            return false;
    return true;
}

inline std::string SessionPath(const char *variable)  // a session variable's Unix path, on Z:
{
    std::string path = std::getenv(variable) != nullptr ? std::string("Z:") + std::getenv(variable) : "";
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

inline std::string FtpRootPath(const std::string &relative = "")
{ return SessionPath("RUVEX_FTP_ROOT") + (relative.empty() ? "" : "\\" + relative); }

// Files are reached exactly: the "\\?\" form keeps names past MAX_PATH and trailing blanks.
inline std::filesystem::path ExactPath(const std::string &path)
{
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return L"\\\\?\\" + wide;
}

inline Texts LocalFolderNames(const std::string &folder)  // sorted
{
    Texts names;
    for (const auto &entry : std::filesystem::directory_iterator(ExactPath(folder)))
        names.push_back(entry.path().filename().string());
    return std::sort(names.begin(), names.end()), names;
}

inline bool LocalFileExists(const std::string &path) { return std::filesystem::exists(ExactPath(path)); }
inline void MakeLocalFolder(const std::string &path) { std::filesystem::create_directory(ExactPath(path)); }

inline void WriteLocalFile(const std::string &path, const std::string &bytes)
{ std::ofstream(ExactPath(path), std::ios::binary) << bytes; }

inline std::string ReadLocalFile(const std::string &path)  // "<missing>" when it cannot be read
{
    std::ifstream file(ExactPath(path), std::ios::binary);
    return file ? std::string(std::istreambuf_iterator<char>(file), {}) : "<missing>";
}

inline void SetServerFaults(const std::string &rules) { WriteLocalFile(SessionPath("RUVEX_FTP_FAULTS"), rules); }

// Makes `path` an empty folder, moving aside whatever was there (a rename reaches any long name).
inline std::string FreshFolder(const std::string &path)
{
    static int movedAside = 0;
    MoveFileW(ExactPath(path).c_str(), ExactPath(path + ".old" + std::to_string(++movedAside)).c_str());
    return MakeLocalFolder(path), path;
}

inline void ResetServer()  // an empty root, an empty log, no faults
{ FreshFolder(FtpRootPath()), WriteLocalFile(SessionPath("RUVEX_FTP_LOG"), ""), SetServerFaults(""); }

// Every LIST answered with a Unix listing line for each name ("name/" a folder).
inline void ServeListing(const Texts &names)
{
    std::string data;
    for (const std::string &name : names) {
        const bool folder = name.back() == '/';
        data += std::string(folder ? "drwxr-xr-x 2 ftp ftp 4096" : "-rw-r--r-- 1 ftp ftp 5") + " Jan 01 12:00 " +
                name.substr(0, name.size() - folder) + "\r\n";
    }
    WriteLocalFile(SessionPath("RUVEX_SESSION_DIR") + "\\listing", data);
    SetServerFaults("LIST raw listing\n");
}

// The client's commands in the server's log, which also holds its replies ("-> " and a line).
inline Texts ClientCommands()
{
    Texts lines;
    std::istringstream log(ReadLocalFile(SessionPath("RUVEX_FTP_LOG")));
    for (std::string line; std::getline(log, line);)
        if (line.rfind("-> ", 0) != 0)
            lines.push_back(line);
    return lines;
}

inline size_t CountStartingWith(const Texts &lines, const std::string &prefix)
{ return std::count_if(lines.begin(), lines.end(), [&](const std::string &line) { return line.rfind(prefix, 0) == 0; }); }

struct Ruvex {
    HANDLE process;
    DWORD id;
    char *scratch;      // memory in the program for list-view records, at the program's address
    size_t hostOffset;  // what Read/WriteProcessMemory add to the program's addresses
    bool is32Bit;       // a 32-bit program, whose records have 4-byte pointers
    HWND login, main, list;
};

// Under qemu-user, Read/WriteProcessMemory see a 32-bit program at its guest base (where the exe's
// headers lie above its image base); messages carry the program's own addresses.
inline size_t FindHostOffset(HANDLE process, const std::string &exe)
{
    std::string headers(512, '\0'), seen = headers;
    std::ifstream(ExactPath(exe), std::ios::binary).read(&headers[0], headers.size());
    const DWORD imageBase = ((const IMAGE_NT_HEADERS32 *)(headers.data() + *(const LONG *)&headers[0x3c]))->OptionalHeader.ImageBase;
    for (size_t offset = 0; offset <= 0x100000; offset += 0x1000)
        if (ReadProcessMemory(process, (void *)(imageBase + offset), &seen[0], seen.size(), nullptr) && seen == headers)
            return offset;
    return 0;
}

inline std::vector<HWND> VisibleWindows(const Ruvex &ruvex)
{
    std::vector<HWND> found;
    DWORD owner = 0;
    for (HWND window = nullptr; (window = FindWindowExA(nullptr, window, nullptr, nullptr)) != nullptr;)
        if (GetWindowThreadProcessId(window, &owner) && owner == ruvex.id && IsWindowVisible(window))
            found.push_back(window);
    return found;
}

inline std::string WindowText(HWND window)
{
    char text[4096] = {};
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, nullptr);
    return text;
}

// A visible window with this title other than `other`; a message box when `title` is null.
inline HWND WaitForWindow(const Ruvex &ruvex, const char *title, DWORD timeoutMs = kWaitMs, HWND other = nullptr)
{
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND window : VisibleWindows(ruvex))
            if (window != other && (title != nullptr ? WindowText(window) == title : GetDlgItem(window, 0xFFFF) != nullptr))
                found = window;
        return found != nullptr;
    }, timeoutMs);
    return found;
}

inline bool WaitForWindowGone(HWND window, DWORD timeoutMs = kWaitMs)
{ return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs); }

inline bool StartRuvex(Ruvex *ruvex, const std::string &exe = SessionPath("RUVEX_EXE"))  // and waits for the login window
{
    std::string commandLine = "\"" + exe + "\"";
    STARTUPINFOA startup = {.cb = sizeof startup};
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    BOOL is32Bit = FALSE;
    IsWow64Process(info.hProcess, &is32Bit);
    *ruvex = Ruvex{info.hProcess, info.dwProcessId,
                   (char *)VirtualAllocEx(info.hProcess, nullptr, 4096, MEM_COMMIT, PAGE_READWRITE), 0, is32Bit != FALSE};
    if ((ruvex->login = WaitForWindow(*ruvex, "Login", 150000)) == nullptr)  // emulated, a start takes a minute
        return false;
    ruvex->hostOffset = is32Bit ? FindHostOffset(info.hProcess, exe) : 0;
    return true;
}

inline DWORD WaitForExit(const Ruvex &ruvex, DWORD timeoutMs = kWaitMs)  // STILL_ACTIVE after the timeout
{ DWORD code = WaitForSingleObject(ruvex.process, timeoutMs); return GetExitCodeProcess(ruvex.process, &code), code; }

inline void EndRuvex(Ruvex *ruvex)  // kills it if still running
{ TerminateProcess(ruvex->process, 99), WaitForExit(*ruvex), CloseHandle(ruvex->process); }

inline std::string ControlText(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }
inline void SetControlText(HWND dialog, int id, const std::string &text) { SetDlgItemTextA(dialog, id, text.c_str()); }
inline void CloseByCloseBox(HWND window) { PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0); }

inline void PressButton(HWND dialog, int id)  // a click: WM_COMMAND with notification code 0
{ PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id)); }

inline void PressKey(HWND target, UINT virtualKey)  // with its character, if it types one
{
    const LPARAM scan = (LPARAM)MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC) << 16;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | scan);
    if (const UINT character = MapVirtualKeyA(virtualKey, MAPVK_VK_TO_CHAR))
        PostMessageA(target, WM_CHAR, character, 1 | scan);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000u);
}

// Waits until the program has handled what it was sent and waits for input; false if it is hung.
inline bool Settle(HWND window, UINT timeoutMs = 60000)
{
    DWORD_PTR ignored = 0;
    LRESULT answered = 0;
    for (int round = 0; round < 3; ++round)  // sent messages overtake posted ones: let those go first
        Sleep(150), answered = SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, timeoutMs, &ignored);
    return answered != 0;
}

// The text of a message box (static text 0xFFFF), then dismissed; with its caption when it is not
// `caption` or its owner not `owner`.
inline std::string ReadMessageBox(const Ruvex &ruvex, const std::string &caption, HWND owner, DWORD timeoutMs = kWaitMs)
{
    HWND box = WaitForWindow(ruvex, nullptr, timeoutMs);
    if (box == nullptr)
        return "<no message box>";
    const bool expected = WindowText(box) == caption && GetWindow(box, GW_OWNER) == owner;
    const std::string text = (expected ? "" : "<" + WindowText(box) + ", another owner or caption> ") + ControlText(box, 0xFFFF);
    PressButton(box, IDOK);
    if (WaitForWindowGone(box) && owner != nullptr)
        Settle(owner);  // the command that showed the box goes on
    return text;
}

// Steps in the login and main windows; each waits until the program waits again.
inline void TypeLogin(const Ruvex &ruvex, const std::string &server, const std::string &user, const std::string &password)
{
    for (const auto &field : {std::make_pair(IDC_SERVER, server), {IDC_USERNAME, user}, {IDC_PASSWORD, password}})
        SetControlText(ruvex.login, field.first, field.second);
    PressButton(ruvex.login, IDC_LOGIN);
}

inline bool LogIn(Ruvex *ruvex, const std::string &user = "ruvex", const std::string &password = "secret")
{
    TypeLogin(*ruvex, "127.0.0.1", user, password);
    ruvex->main = WaitForWindow(*ruvex, "Ruvex");
    ruvex->list = GetDlgItem(ruvex->main, IDC_FILE_LIST);
    return ruvex->main != nullptr && Settle(ruvex->main);
}

// A list-view message's record goes through the program's scratch memory, its text 256 bytes in.
template <typename Record>
Record AskList(const Ruvex &ruvex, UINT message, WPARAM wParam, Record record, char *text = nullptr, size_t size = 0)
{
    char *const host = ruvex.scratch + ruvex.hostOffset;
    WriteProcessMemory(ruvex.process, host, &record, sizeof record, nullptr);
    SendMessageA(ruvex.list, message, wParam, (LPARAM)ruvex.scratch);
    ReadProcessMemory(ruvex.process, host, &record, sizeof record, nullptr);
    ReadProcessMemory(ruvex.process, host + 256, text, size, nullptr);
    return record;
}

struct ShownEntry { std::string text; int image, indent; };

// LVITEMA up to its indent, as a program with pointers of this size lays it out.
template <typename Pointer> struct ListItem {
    UINT mask;
    int iItem, iSubItem;
    UINT state, stateMask;
    Pointer pszText;
    int cchTextMax, iImage;
    Pointer lParam;
    int iIndent;
};

static_assert(offsetof(ListItem<LPSTR>, iIndent) == offsetof(LVITEMA, iIndent), "not LVITEMA's layout");

// Entry `index` of the list, in the program's record layout; its text made `newText` first, if given.
template <typename Pointer> ShownEntry ReadShownEntry(const Ruvex &ruvex, int index, const std::string *newText = nullptr)
{
    char text[1024] = {};
    ListItem<Pointer> item = {LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT, index};
    item.pszText = (Pointer)(uintptr_t)(ruvex.scratch + 256);
    item.cchTextMax = sizeof text - 1;
    if (newText != nullptr) {
        WriteProcessMemory(ruvex.process, ruvex.scratch + ruvex.hostOffset + 256, newText->c_str(), newText->size() + 1, 0);
        AskList(ruvex, LVM_SETITEMTEXTA, index, item);
    }
    item = AskList(ruvex, LVM_GETITEMA, 0, item, text, sizeof text - 1);
    return ShownEntry{text, item.iImage, item.iIndent};
}

inline void SetShownText(const Ruvex &ruvex, int index, const std::string &text)
{ ruvex.is32Bit ? ReadShownEntry<uint32_t>(ruvex, index, &text) : ReadShownEntry<uint64_t>(ruvex, index, &text); }

inline std::vector<ShownEntry> ReadList(const Ruvex &ruvex)
{
    std::vector<ShownEntry> entries;
    for (int i = 0, count = (int)SendMessageA(ruvex.list, LVM_GETITEMCOUNT, 0, 0); i < count; ++i)
        entries.push_back(ruvex.is32Bit ? ReadShownEntry<uint32_t>(ruvex, i) : ReadShownEntry<uint64_t>(ruvex, i));
    return entries;
}

inline Texts ListTexts(const Ruvex &ruvex)
{
    Texts texts;
    for (const ShownEntry &entry : ReadList(ruvex))
        texts.push_back(entry.text);
    return texts;
}

inline int FindListEntry(const Ruvex &ruvex, const std::string &text)  // -1 when absent
{ const Texts texts = ListTexts(ruvex); const auto found = std::find(texts.begin(), texts.end(), text);
  return found == texts.end() ? -1 : found - texts.begin(); }

inline void ClickListItem(const Ruvex &ruvex, int index, bool twice = false)  // index -1: empty space
{
    RECT client = {};
    GetClientRect(ruvex.list, &client);
    RECT rect = {client.right - 4, client.bottom - 4, client.right - 2, client.bottom - 2};
    if (index >= 0) {
        SendMessageA(ruvex.list, LVM_ENSUREVISIBLE, index, FALSE);
        rect = AskList(ruvex, LVM_GETITEMRECT, index, RECT{LVIR_LABEL, 0, 0, 0});
        rect.right = std::min(rect.right, client.right);  // a long label runs past the edge
    }
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    for (int click = 0; click <= twice; ++click) {
        PostMessageA(ruvex.list, click ? WM_LBUTTONDBLCLK : WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(ruvex.list, WM_LBUTTONUP, 0, at);
    }
}

inline bool ClickEntry(const Ruvex &ruvex, const std::string &name, bool twice = false)  // twice: activates
{
    const int index = FindListEntry(ruvex, name);
    return index >= 0 && (ClickListItem(ruvex, index, twice), Settle(ruvex.main));
}

inline bool Press(const Ruvex &ruvex, int id) { return PressButton(ruvex.main, id), Settle(ruvex.main); }

// Edits the entry's label to `text` and ends the edit with `key` (VK_RETURN or VK_ESCAPE).
inline bool EditLabel(const Ruvex &ruvex, const std::string &name, const std::string &text, UINT key = VK_RETURN)
{
    const int index = FindListEntry(ruvex, name);
    HWND edit = index < 0 ? nullptr : (HWND)SendMessageA(ruvex.list, LVM_EDITLABELA, index, 0);
    if (edit == nullptr)
        return false;
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    PressKey(edit, key);
    // A refused name brings up a message box while the edit is still shown.
    WaitUntil([&] { return !IsWindowVisible(edit) || WaitForWindow(ruvex, nullptr, 0) != nullptr; });
    return Settle(ruvex.main);
}

inline HWND OpenPrompt(const Ruvex &ruvex, HWND other = nullptr)  // by the new-folder button
{ return PressButton(ruvex.main, IDC_NEW_FOLDER), WaitForWindow(ruvex, "Choose a folder name", kWaitMs, other); }

inline bool AnswerPrompt(const Ruvex &ruvex, HWND prompt, const std::string &text)  // types, then Ok
{
    SetControlText(prompt, IDC_PROMPT_EDIT, text);
    PressButton(prompt, IDC_PROMPT_OK);
    return WaitForWindowGone(prompt) && Settle(ruvex.main);
}

// The save chooser of a listed file, or the open chooser when `remoteName` is empty.
inline HWND OpenChooser(const Ruvex &ruvex, const std::string &remoteName)
{
    if (remoteName.empty())
        PressButton(ruvex.main, IDC_UPLOAD);
    else if (!ClickEntry(ruvex, remoteName, true))
        return nullptr;
    return WaitForWindow(ruvex, remoteName.empty() ? "Select file" : "Save file as");
}

// The explorer-style chooser names its file field cmb13 (a combo box holding an edit) or edt1.
inline HWND ChooserField(HWND chooser)
{ return GetDlgItem(chooser, cmb13) != nullptr ? GetDlgItem(chooser, cmb13) : GetDlgItem(chooser, edt1); }

inline void ChooseInFileDialog(HWND chooser, const std::string &path)  // "": cancels; does not wait
{
    SendMessageA(ChooserField(chooser), WM_SETTEXT, 0, (LPARAM)path.c_str());
    PressButton(chooser, path.empty() ? IDCANCEL : IDOK);
}

inline bool Choose(const Ruvex &ruvex, HWND chooser, const std::string &path, UINT timeoutMs = 60000)
{ return chooser != nullptr && (ChooseInFileDialog(chooser, path), WaitForWindowGone(chooser, timeoutMs)) && Settle(ruvex.main, timeoutMs); }

inline bool Download(const Ruvex &ruvex, const std::string &name, const std::string &path)
{ return Choose(ruvex, OpenChooser(ruvex, name), path); }
inline bool Upload(const Ruvex &ruvex, const std::string &path) { return Download(ruvex, "", path); }

#endif
