// tests/harness/driver.cpp - see driver.h.
#include "driver.h"

#include <commctrl.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "../../app/resource.h"

// ---- Files ----

std::string SessionPath(const char *variable)
{
    const char *unixPath = std::getenv(variable);
    std::string path = unixPath != nullptr ? std::string("Z:") + unixPath : std::string();
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string FtpRootPath(const std::string &relative)
{
    return SessionPath("RUVEX_FTP_ROOT") + (relative.empty() ? "" : "\\" + relative);
}

// The "\\?\" form reaches names that the ordinary form cuts or changes.
static std::wstring ExactPath(const std::string &path)
{
    std::wstring wide(path.size() + 1, L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], (int)wide.size()) - 1);
    return L"\\\\?\\" + wide;
}

// The entries of a folder, without "." and "..", each with whether it is a folder.
static std::vector<std::pair<std::string, bool>> FolderEntries(const std::string &folder)
{
    std::vector<std::pair<std::string, bool>> entries;
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW(ExactPath(folder + "\\*").c_str(), &found);
    for (BOOL more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &found)) {
        char name[1024] = {};
        WideCharToMultiByte(CP_ACP, 0, found.cFileName, -1, name, sizeof name, nullptr, nullptr);
        if (std::string(name) != "." && std::string(name) != "..")
            entries.push_back({name, (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return entries;
}

static void RemoveLocalTree(const std::string &path)
{
    for (const auto &entry : FolderEntries(path)) {
        if (entry.second)
            RemoveLocalTree(path + "\\" + entry.first);
        else
            DeleteFileW(ExactPath(path + "\\" + entry.first).c_str());
    }
    RemoveDirectoryW(ExactPath(path).c_str());
}

std::string FreshScratchFolder(const std::string &name)
{
    const std::string folder = SessionPath("RUVEX_SESSION_DIR") + "\\" + name;
    RemoveLocalTree(folder);
    MakeLocalFolder(folder);
    return folder;
}

void WriteLocalFile(const std::string &path, const std::string &bytes)
{
    if (FILE *file = _wfopen(ExactPath(path).c_str(), L"wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), file);
        std::fclose(file);
    }
}

std::string ReadLocalFile(const std::string &path)
{
    FILE *file = _wfopen(ExactPath(path).c_str(), L"rb");
    if (file == nullptr)
        return "<missing>";
    std::string bytes;
    char block[65536];
    for (size_t got; (got = std::fread(block, 1, sizeof block, file)) > 0;)
        bytes.append(block, got);
    std::fclose(file);
    return bytes;
}

bool LocalFileExists(const std::string &path)
{
    return GetFileAttributesW(ExactPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeLocalFolder(const std::string &path)
{
    CreateDirectoryW(ExactPath(path).c_str(), nullptr);
}

Texts LocalFolderNames(const std::string &folder)
{
    Texts names;
    for (const auto &entry : FolderEntries(folder))
        names.push_back(entry.first);
    std::sort(names.begin(), names.end());
    return names;
}

// ---- The server ----

void ResetServer()
{
    RemoveLocalTree(FtpRootPath());
    MakeLocalFolder(FtpRootPath());
    WriteLocalFile(SessionPath("RUVEX_FTP_LOG"), "");
    SetServerFaults("");
}

void SetServerFaults(const std::string &rules)
{
    WriteLocalFile(SessionPath("RUVEX_FTP_FAULTS"), rules);
}

void ServeListing(const Texts &lines)
{
    std::string data;
    for (const std::string &line : lines)
        data += line + "\r\n";
    WriteLocalFile(SessionPath("RUVEX_SESSION_DIR") + "\\listing", data);
    SetServerFaults("LIST raw listing\n");
}

std::string ListingLine(const std::string &name, bool folder)
{
    return (folder ? "drwxr-xr-x   2 ftp      ftp          4096" : "-rw-r--r--   1 ftp      ftp             5") +
           std::string(" Jan 01 12:00 ") + name;
}

Texts ServerLog()
{
    Texts lines;
    const std::string log = ReadLocalFile(SessionPath("RUVEX_FTP_LOG"));
    for (size_t start = 0, end; start < log.size(); start = end + 1) {
        end = std::min(log.find('\n', start), log.size());
        const size_t space = log.find(' ', start);
        if (space < end)
            lines.push_back(log.substr(space + 1, end - space - 1));
    }
    return lines;
}

Texts ClientCommands()
{
    Texts commands;
    for (const std::string &line : ServerLog())
        if (line.compare(0, 3, "-> ") != 0 && line != "CONNECT" && line != "DISCONNECT")
            commands.push_back(line);
    return commands;
}

size_t CountStartingWith(const Texts &lines, const std::string &prefix)
{
    return std::count_if(lines.begin(), lines.end(),
                         [&](const std::string &line) { return line.compare(0, prefix.size(), prefix) == 0; });
}

// ---- The program and its windows ----

bool StartRuvex(Ruvex *ruvex)
{
    *ruvex = Ruvex();
    std::string commandLine = "\"" + SessionPath("RUVEX_EXE") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    ruvex->process = info.hProcess;
    ruvex->id = info.dwProcessId;
    ruvex->login = WaitForWindow(*ruvex, "Login");
    return ruvex->login != nullptr;
}

DWORD WaitForExit(const Ruvex &ruvex, DWORD timeoutMs)
{
    WaitForSingleObject(ruvex.process, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(ruvex.process, &code);
    return code;
}

void EndRuvex(Ruvex *ruvex)
{
    if (ruvex->process == nullptr)
        return;
    TerminateProcess(ruvex->process, 99);
    WaitForSingleObject(ruvex->process, kWaitMs);
    CloseHandle(ruvex->process);
    ruvex->process = nullptr;
}

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    WindowSearch *search = (WindowSearch *)context;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows(const Ruvex &ruvex)
{
    WindowSearch search = {ruvex.id, {}};
    EnumWindows(CollectWindow, (LPARAM)&search);
    return search.found;
}

HWND WaitForWindow(const Ruvex &ruvex, const char *title, DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil(
        [&] {
            for (HWND candidate : VisibleWindows(ruvex))
                if (WindowText(candidate) == title)
                    window = candidate;
            return window != nullptr;
        },
        timeoutMs);
    return window;
}

bool WaitForWindowGone(HWND window, DWORD timeoutMs)
{
    return WaitUntil([&] { return !IsWindow(window) || !IsWindowVisible(window); }, timeoutMs);
}

std::string WindowText(HWND window)
{
    char text[4096] = {};
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, (LPARAM)text, SMTO_ABORTIFHUNG, 5000, &ignored);
    return text;
}

std::string ControlText(HWND dialog, int id)
{
    return WindowText(GetDlgItem(dialog, id));
}

void SetControlText(HWND dialog, int id, const std::string &text)
{
    SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, (LPARAM)text.c_str());
}

void PressButton(HWND dialog, int id)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(dialog, id));
}

void PressKey(HWND target, UINT virtualKey)
{
    const LPARAM scan = (LPARAM)MapVirtualKeyA(virtualKey, 0) << 16;
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | scan);
    if (virtualKey == VK_RETURN || virtualKey == VK_ESCAPE)
        PostMessageA(target, WM_CHAR, virtualKey == VK_RETURN ? '\r' : 27, 1 | scan);
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | scan | 0xC0000000u);
}

void CloseByCloseBox(HWND window)
{
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void Settle(HWND window)
{
    for (int round = 0; round < 3; ++round) {
        Sleep(150);
        DWORD_PTR ignored = 0;
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &ignored);
    }
}

bool Responds(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

static HWND FindMessageBox(const Ruvex &ruvex)
{
    for (HWND window : VisibleWindows(ruvex))
        if (GetDlgItem(window, 0xFFFF) != nullptr)
            return window;
    return nullptr;
}

bool ReadMessageBox(const Ruvex &ruvex, MessageBoxSeen *seen, DWORD timeoutMs)
{
    HWND box = nullptr;
    if (!WaitUntil([&] { return (box = FindMessageBox(ruvex)) != nullptr; }, timeoutMs))
        return false;
    *seen = MessageBoxSeen{box, GetWindow(box, GW_OWNER), WindowText(box), ControlText(box, 0xFFFF)};
    PressButton(box, IDOK);
    return WaitForWindowGone(box);
}

// ---- Steps ----

void TypeLogin(const Ruvex &ruvex, const std::string &server, const std::string &user, const std::string &password)
{
    SetControlText(ruvex.login, IDC_SERVER, server);
    SetControlText(ruvex.login, IDC_USERNAME, user);
    SetControlText(ruvex.login, IDC_PASSWORD, password);
    PressButton(ruvex.login, IDC_LOGIN);
}

bool LogIn(Ruvex *ruvex, const std::string &user, const std::string &password)
{
    TypeLogin(*ruvex, "127.0.0.1", user, password);
    ruvex->main = WaitForWindow(*ruvex, "Ruvex");
    if (ruvex->main == nullptr)
        return false;
    ruvex->list = GetDlgItem(ruvex->main, IDC_FILE_LIST);
    Settle(ruvex->main);
    return true;
}

// List-view messages carry pointers, so their records live in the program's memory.
struct RemoteBlock {
    HANDLE process;
    char *address;
    RemoteBlock(HANDLE p, size_t size)
        : process(p), address((char *)VirtualAllocEx(p, nullptr, size, MEM_COMMIT, PAGE_READWRITE)) {}
    ~RemoteBlock() { VirtualFreeEx(process, address, 0, MEM_RELEASE); }
    template <typename T> void Put(const T &value) { WriteProcessMemory(process, address, &value, sizeof value, nullptr); }
    template <typename T> void Get(T *value, size_t offset = 0) const
    {
        ReadProcessMemory(process, address + offset, value, sizeof *value, nullptr);
    }
};

std::vector<ListEntry> ReadList(const Ruvex &ruvex)
{
    std::vector<ListEntry> entries;
    const int count = (int)SendMessageA(ruvex.list, LVM_GETITEMCOUNT, 0, 0);
    RemoteBlock block(ruvex.process, sizeof(LVITEMA) + 1024);
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = i;
        item.pszText = block.address + sizeof item;
        item.cchTextMax = 1024;
        block.Put(item);
        SendMessageA(ruvex.list, LVM_GETITEMA, 0, (LPARAM)block.address);
        char text[1024] = {};
        block.Get(&item);
        block.Get(&text, sizeof item);
        text[sizeof text - 1] = '\0';
        entries.push_back(ListEntry{text, item.iImage, item.iIndent});
    }
    return entries;
}

Texts ListTexts(const Ruvex &ruvex)
{
    Texts texts;
    for (const ListEntry &entry : ReadList(ruvex))
        texts.push_back(entry.text);
    return texts;
}

int FindListEntry(const Ruvex &ruvex, const std::string &text)
{
    const Texts texts = ListTexts(ruvex);
    const auto found = std::find(texts.begin(), texts.end(), text);
    return found == texts.end() ? -1 : (int)(found - texts.begin());
}

void ClickListItem(const Ruvex &ruvex, int index, bool twice)
{
    RECT client = {};
    GetClientRect(ruvex.list, &client);
    RECT rect = {client.right - 4, client.bottom - 4, client.right - 2, client.bottom - 2};  // empty space
    if (index >= 0) {
        SendMessageA(ruvex.list, LVM_ENSUREVISIBLE, index, FALSE);
        RemoteBlock block(ruvex.process, sizeof rect);
        block.Put(RECT{LVIR_LABEL, 0, 0, 0});
        SendMessageA(ruvex.list, LVM_GETITEMRECT, index, (LPARAM)block.address);
        block.Get(&rect);
        rect.right = std::min(rect.right, client.right);  // a long label runs past the edge
    }
    const LPARAM at = MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2);
    PostMessageA(ruvex.list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(ruvex.list, WM_LBUTTONUP, 0, at);
    if (twice) {
        PostMessageA(ruvex.list, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(ruvex.list, WM_LBUTTONUP, 0, at);
    }
}

bool Activate(const Ruvex &ruvex, const std::string &name)
{
    const int index = FindListEntry(ruvex, name);
    if (index >= 0)
        ClickListItem(ruvex, index, true);
    return index >= 0;
}

bool Select(const Ruvex &ruvex, const std::string &name)
{
    const int index = FindListEntry(ruvex, name);
    if (index >= 0)
        ClickListItem(ruvex, index);
    Settle(ruvex.main);
    return index >= 0;
}

void Press(const Ruvex &ruvex, int id)
{
    PressButton(ruvex.main, id);
    Settle(ruvex.main);
}

bool EditLabel(const Ruvex &ruvex, const std::string &name, const std::string &text, UINT key)
{
    const int index = FindListEntry(ruvex, name);
    HWND edit = index < 0 ? nullptr : (HWND)SendMessageA(ruvex.list, LVM_EDITLABELA, index, 0);
    if (edit == nullptr)
        return false;
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    PressKey(edit, key);
    // A refused name brings up a message box while the edit is still shown.
    WaitUntil([&] { return !IsWindowVisible(edit) || FindMessageBox(ruvex) != nullptr; });
    Settle(ruvex.main);
    return true;
}

HWND OpenPrompt(const Ruvex &ruvex)
{
    PressButton(ruvex.main, IDC_NEW_FOLDER);
    return WaitForWindow(ruvex, "Choose a folder name");
}

bool AnswerPrompt(const Ruvex &ruvex, HWND prompt, const std::string &text)
{
    SetControlText(prompt, IDC_PROMPT_EDIT, text);
    PressButton(prompt, IDC_PROMPT_OK);
    const bool gone = WaitForWindowGone(prompt);
    Settle(ruvex.main);
    return gone;
}

HWND OpenChooser(const Ruvex &ruvex, const std::string &remoteName)
{
    if (remoteName.empty())
        PressButton(ruvex.main, IDC_UPLOAD);
    else if (!Activate(ruvex, remoteName))
        return nullptr;
    return WaitForWindow(ruvex, remoteName.empty() ? "Select file" : "Save file as");
}

// The explorer-style chooser names its file field cmb13 (a combo box holding an edit) or edt1.
static HWND ChooserField(HWND chooser)
{
    HWND field = GetDlgItem(chooser, cmb13);
    return field != nullptr ? field : GetDlgItem(chooser, edt1);
}

std::string ChooserName(HWND chooser)
{
    return WindowText(ChooserField(chooser));
}

void ChooseInFileDialog(HWND chooser, const std::string &path)
{
    SendMessageA(ChooserField(chooser), WM_SETTEXT, 0, (LPARAM)path.c_str());
    PressButton(chooser, path.empty() ? IDCANCEL : IDOK);
}

bool Choose(const Ruvex &ruvex, HWND chooser, const std::string &path)
{
    if (chooser == nullptr)
        return false;
    ChooseInFileDialog(chooser, path);
    const bool gone = WaitForWindowGone(chooser);
    Settle(ruvex.main);
    return gone;
}

bool Upload(const Ruvex &ruvex, const std::string &path)
{
    return Choose(ruvex, OpenChooser(ruvex, ""), path);
}

bool Download(const Ruvex &ruvex, const std::string &remoteName, const std::string &path)
{
    return Choose(ruvex, OpenChooser(ruvex, remoteName), path);
}

// ---- Pictures and time ----

void SaveScreenshot(HWND window, const char *name)
{
    const std::string folder = SessionPath("RUVEX_SCREENSHOTS");
    if (folder.empty())
        return;
    Settle(window);
    Sleep(300);  // let the last paint reach the display
    RECT rect = {};
    GetWindowRect(window, &rect);
    BITMAPINFOHEADER header = {sizeof header, rect.right - rect.left, rect.bottom - rect.top, 1, 24};
    HDC screen = GetDC(nullptr), memory = CreateCompatibleDC(screen);
    void *pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, (BITMAPINFO *)&header, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, header.biWidth, header.biHeight, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD pixelBytes = ((header.biWidth * 3 + 3) & ~3) * header.biHeight;
    BITMAPFILEHEADER file = {0x4D42, sizeof file + sizeof header + pixelBytes, 0, 0, sizeof file + sizeof header};
    WriteLocalFile(folder + "\\" + name + ".bmp", std::string((const char *)&file, sizeof file) +
                                                      std::string((const char *)&header, sizeof header) +
                                                      std::string((const char *)pixels, pixelBytes));
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

double NowMs()
{
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}
