// tests/harness/driver.cpp - see driver.h.
#include "driver.h"

#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "../../app/resource.h"

// ---- The session's files ----

std::string SessionPath(const char *variable)
{
    const char *unixPath = std::getenv(variable);
    if (unixPath == nullptr)
        return std::string();
    std::string path = std::string("Z:") + unixPath;
    for (char &c : path)
        if (c == '/')
            c = '\\';
    return path;
}

std::string FtpRootPath(const std::string &relative)
{
    std::string path = SessionPath("RUVEX_FTP_ROOT");
    if (!relative.empty())
        path += "\\" + relative;
    return path;
}

// A local path in the platform's "\\?\" form, so that names the server may hold reach the
// file system unchanged: longer than MAX_PATH, or with trailing blanks or dots, which the
// ordinary form strips.
static std::wstring ExactPath(const std::string &path)
{
    std::wstring wide(path.size() + 1, L'\0');
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, &wide[0], (int)wide.size());
    wide.resize(length > 0 ? length - 1 : 0);
    const bool absolute = wide.size() >= 3 && wide[1] == L':' && wide[2] == L'\\';
    return absolute ? L"\\\\?\\" + wide : wide;
}

static std::string AnsiText(const wchar_t *wide)
{
    char text[1024] = {};
    WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
    return text;
}

void WriteLocalFile(const std::string &path, const std::string &bytes)
{
    FILE *file = _wfopen(ExactPath(path).c_str(), L"wb");
    if (file == nullptr)
        return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

bool ReadLocalFile(const std::string &path, std::string *bytes)
{
    FILE *file = _wfopen(ExactPath(path).c_str(), L"rb");
    if (file == nullptr)
        return false;
    bytes->clear();
    char block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof block, file)) > 0)
        bytes->append(block, got);
    std::fclose(file);
    return true;
}

bool LocalFileExists(const std::string &path)
{
    return GetFileAttributesW(ExactPath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeLocalFolder(const std::string &path)
{
    CreateDirectoryW(ExactPath(path).c_str(), nullptr);
}

void RemoveLocalTree(const std::string &path)
{
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW(ExactPath(path + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = AnsiText(found.cFileName);
            if (name == "." || name == "..")
                continue;
            const std::string child = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveLocalTree(child);
            else
                DeleteFileW(ExactPath(child).c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(ExactPath(path).c_str());
}

void ResetServer()
{
    RemoveLocalTree(FtpRootPath());
    MakeLocalFolder(FtpRootPath());
    WriteLocalFile(SessionPath("RUVEX_FTP_LOG"), "");
    SetServerFaults("");
}

void SetListingOrder(const std::string &folder, const std::vector<std::string> &names)
{
    std::string order;
    for (const std::string &name : names)
        order += name + "\n";
    WriteLocalFile(FtpRootPath(folder.empty() ? ".ruvex-order" : folder + "\\.ruvex-order"), order);
}

void SetServerFaults(const std::string &rules)
{
    WriteLocalFile(SessionPath("RUVEX_FTP_FAULTS"), rules);
}

std::string ServerLog()
{
    std::string log;
    ReadLocalFile(SessionPath("RUVEX_FTP_LOG"), &log);
    return log;
}

std::vector<std::string> ServerCommands()
{
    std::vector<std::string> commands;
    const std::string log = ServerLog();
    size_t start = 0;
    while (start < log.size()) {
        size_t end = log.find('\n', start);
        if (end == std::string::npos)
            end = log.size();
        const std::string line = log.substr(start, end - start);
        const size_t space = line.find(' ');
        if (space != std::string::npos)
            commands.push_back(line.substr(space + 1));
        start = end + 1;
    }
    return commands;
}

size_t CountCommandsStartingWith(const std::string &prefix)
{
    size_t count = 0;
    for (const std::string &command : ServerCommands())
        if (command.compare(0, prefix.size(), prefix) == 0)
            ++count;
    return count;
}

// ---- The program ----

bool StartRuvex(RuvexProcess *ruvex)
{
    std::string commandLine = "\"" + SessionPath("RUVEX_EXE") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return false;
    CloseHandle(info.hThread);
    ruvex->process = info.hProcess;
    ruvex->id = info.dwProcessId;
    return true;
}

DWORD WaitForExit(const RuvexProcess &ruvex, DWORD timeoutMs)
{
    WaitForSingleObject(ruvex.process, timeoutMs);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(ruvex.process, &code);
    return code;
}

void EndRuvex(RuvexProcess *ruvex)
{
    if (ruvex->process == nullptr)
        return;
    if (WaitForSingleObject(ruvex->process, 0) == WAIT_TIMEOUT) {
        TerminateProcess(ruvex->process, 99);
        WaitForSingleObject(ruvex->process, kWaitMs);
    }
    CloseHandle(ruvex->process);
    ruvex->process = nullptr;
}

// ---- Windows ----

struct WindowSearch {
    DWORD processId;
    const char *title;
    std::vector<HWND> found;
};

static BOOL CALLBACK CollectWindow(HWND window, LPARAM context)
{
    WindowSearch *search = (WindowSearch *)context;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window) &&
        (search->title == nullptr || WindowText(window) == search->title))
        search->found.push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleWindows(const RuvexProcess &ruvex, const char *title)
{
    WindowSearch search = {ruvex.id, title, {}};
    EnumWindows(CollectWindow, (LPARAM)&search);
    return search.found;
}

HWND WaitForWindow(const RuvexProcess &ruvex, const char *title, DWORD timeoutMs)
{
    HWND window = nullptr;
    WaitUntil(
        [&] {
            const std::vector<HWND> found = VisibleWindows(ruvex, title);
            window = found.empty() ? nullptr : found.front();
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
    const UINT scan = MapVirtualKeyA(virtualKey, 0);
    PostMessageA(target, WM_KEYDOWN, virtualKey, 1 | (scan << 16));
    if (virtualKey == VK_RETURN || virtualKey == VK_ESCAPE)
        PostMessageA(target, WM_CHAR, virtualKey == VK_RETURN ? '\r' : 27, 1 | (scan << 16));
    PostMessageA(target, WM_KEYUP, virtualKey, 1 | (scan << 16) | 0xC0000000u);
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

// ---- Message boxes ----

struct MessageBoxSearch {
    DWORD processId;
    HWND found;
};

static BOOL CALLBACK FindMessageBox(HWND window, LPARAM context)
{
    MessageBoxSearch *search = (MessageBoxSearch *)context;
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    char className[64] = {};
    GetClassNameA(window, className, sizeof className);
    if (owner == search->processId && IsWindowVisible(window) && std::string(className) == "#32770" &&
        GetDlgItem(window, 0xFFFF) != nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

bool WaitForMessageBox(const RuvexProcess &ruvex, MessageBoxSeen *seen, DWORD timeoutMs)
{
    MessageBoxSearch search = {ruvex.id, nullptr};
    if (!WaitUntil([&] { EnumWindows(FindMessageBox, (LPARAM)&search); return search.found != nullptr; }, timeoutMs))
        return false;
    seen->window = search.found;
    seen->owner = GetWindow(search.found, GW_OWNER);
    seen->caption = WindowText(search.found);
    seen->text = ControlText(search.found, 0xFFFF);
    return true;
}

void DismissMessageBox(const MessageBoxSeen &seen)
{
    PostMessageA(seen.window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(seen.window, IDOK));
    WaitForWindowGone(seen.window);
}

// ---- The list view ----

// Memory in the program's address space for one list-view request and its answer.
struct RemoteBlock {
    HANDLE process;
    char *address;
};

static RemoteBlock AllocateRemote(const RuvexProcess &ruvex, size_t size)
{
    RemoteBlock block = {ruvex.process, nullptr};
    block.address = (char *)VirtualAllocEx(ruvex.process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return block;
}

static void FreeRemote(const RemoteBlock &block)
{
    VirtualFreeEx(block.process, block.address, 0, MEM_RELEASE);
}

constexpr size_t kRemoteTextSize = 1024;

std::vector<ListEntry> ReadList(const RuvexProcess &ruvex, HWND list)
{
    std::vector<ListEntry> entries;
    const int count = (int)SendMessageA(list, LVM_GETITEMCOUNT, 0, 0);
    const RemoteBlock block = AllocateRemote(ruvex, sizeof(LVITEMA) + kRemoteTextSize);
    char *remoteText = block.address + sizeof(LVITEMA);
    for (int i = 0; i < count; ++i) {
        LVITEMA item = {};
        item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_INDENT;
        item.iItem = i;
        item.pszText = remoteText;
        item.cchTextMax = kRemoteTextSize;
        WriteProcessMemory(ruvex.process, block.address, &item, sizeof item, nullptr);
        SendMessageA(list, LVM_GETITEMA, 0, (LPARAM)block.address);
        char text[kRemoteTextSize] = {};
        ReadProcessMemory(ruvex.process, block.address, &item, sizeof item, nullptr);
        ReadProcessMemory(ruvex.process, remoteText, text, sizeof text - 1, nullptr);
        entries.push_back(ListEntry{text, item.iImage, item.iIndent});
    }
    FreeRemote(block);
    return entries;
}

std::vector<std::string> ListTexts(const RuvexProcess &ruvex, HWND list)
{
    std::vector<std::string> texts;
    for (const ListEntry &entry : ReadList(ruvex, list))
        texts.push_back(entry.text);
    return texts;
}

int FindListEntry(const RuvexProcess &ruvex, HWND list, const std::string &text)
{
    const std::vector<std::string> texts = ListTexts(ruvex, list);
    for (size_t i = 0; i < texts.size(); ++i)
        if (texts[i] == text)
            return (int)i;
    return -1;
}

static POINT ItemCentre(const RuvexProcess &ruvex, HWND list, int index)
{
    SendMessageA(list, LVM_ENSUREVISIBLE, index, FALSE);
    const RemoteBlock block = AllocateRemote(ruvex, sizeof(RECT));
    RECT rect = {};
    rect.left = LVIR_LABEL;
    WriteProcessMemory(ruvex.process, block.address, &rect, sizeof rect, nullptr);
    SendMessageA(list, LVM_GETITEMRECT, index, (LPARAM)block.address);
    ReadProcessMemory(ruvex.process, block.address, &rect, sizeof rect, nullptr);
    FreeRemote(block);
    // A long label runs past the list's right edge; aim at its visible part.
    RECT client = {};
    GetClientRect(list, &client);
    const LONG right = rect.right < client.right ? rect.right : client.right;
    POINT centre = {(rect.left + right) / 2, (rect.top + rect.bottom) / 2};
    return centre;
}

static void PostClick(HWND list, POINT at, bool doubleClick)
{
    const LPARAM where = MAKELPARAM(at.x, at.y);
    PostMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, where);
    PostMessageA(list, WM_LBUTTONUP, 0, where);
    if (doubleClick) {
        PostMessageA(list, WM_LBUTTONDBLCLK, MK_LBUTTON, where);
        PostMessageA(list, WM_LBUTTONUP, 0, where);
    }
}

void ClickListItem(const RuvexProcess &ruvex, HWND list, int index)
{
    PostClick(list, ItemCentre(ruvex, list, index), false);
}

void DoubleClickListItem(const RuvexProcess &ruvex, HWND list, int index)
{
    PostClick(list, ItemCentre(ruvex, list, index), true);
}

static POINT EmptyCorner(HWND list)
{
    RECT client = {};
    GetClientRect(list, &client);
    const POINT corner = {client.right - 2, client.bottom - 2};
    return corner;
}

void ClickListEmptySpace(HWND list)
{
    PostClick(list, EmptyCorner(list), false);
}

void DoubleClickListEmptySpace(HWND list)
{
    PostClick(list, EmptyCorner(list), true);
}

// ---- The common file choosers ----

// The explorer-style chooser names its file field cmb13 (a combo box holding an edit) or edt1.
static HWND FileNameField(HWND chooser)
{
    HWND field = GetDlgItem(chooser, cmb13);
    return field != nullptr ? field : GetDlgItem(chooser, edt1);
}

void ChooseInFileDialog(HWND chooser, const std::string &path)
{
    SendMessageA(FileNameField(chooser), WM_SETTEXT, 0, (LPARAM)path.c_str());
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), (LPARAM)GetDlgItem(chooser, IDOK));
}

void CancelFileDialog(HWND chooser)
{
    PostMessageA(chooser, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), (LPARAM)GetDlgItem(chooser, IDCANCEL));
}

std::string FileDialogName(HWND chooser)
{
    return WindowText(FileNameField(chooser));
}

// ---- Pictures ----

void SaveScreenshot(HWND window, const char *name)
{
    const std::string folder = SessionPath("RUVEX_SCREENSHOTS");
    if (folder.empty())
        return;
    Settle(window);
    Sleep(300);  // let the last paint reach the display
    RECT rect = {};
    GetWindowRect(window, &rect);
    const int width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void *pixels = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    const DWORD rowBytes = ((DWORD)width * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info.bmiHeader;
    file.bfSize = file.bfOffBits + rowBytes * height;
    std::string bytes((const char *)&file, sizeof file);
    bytes.append((const char *)&info.bmiHeader, sizeof info.bmiHeader);
    bytes.append((const char *)pixels, rowBytes * height);
    WriteLocalFile(folder + "\\" + name + ".bmp", bytes);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

// ---- Local files and the server's log, for the file commands ----

std::string FreshScratchFolder(const std::string &name)
{
    const std::string folder = SessionPath("RUVEX_SESSION_DIR") + "\\" + name;
    RemoveLocalTree(folder);
    MakeLocalFolder(folder);
    return folder;
}

std::vector<std::string> LocalFolderNames(const std::string &folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAW found = {};
    HANDLE find = FindFirstFileW(ExactPath(folder + "\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = AnsiText(found.cFileName);
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string UnixListingLine(const std::string &fileName)
{
    return "-rw-r--r--   1 ftp      ftp             5 Jan 01 12:00 " + fileName + "\r\n";
}

void ServeListingAsIs(const std::string &data)
{
    WriteLocalFile(SessionPath("RUVEX_SESSION_DIR") + "\\listing", data);
    SetServerFaults("LIST raw listing\n");  // the path is taken relative to the fault file's folder
}

std::vector<std::string> ClientCommands()
{
    std::vector<std::string> commands;
    for (const std::string &line : ServerCommands())
        if (line.compare(0, 3, "-> ") != 0 && line != "CONNECT" && line != "DISCONNECT")
            commands.push_back(line);
    return commands;
}

std::vector<std::string> ClientCommandsFrom(size_t first)
{
    const std::vector<std::string> commands = ClientCommands();
    if (first >= commands.size())
        return std::vector<std::string>();
    return std::vector<std::string>(commands.begin() + first, commands.end());
}

size_t CountStartingWith(const std::vector<std::string> &commands, const std::string &prefix)
{
    size_t count = 0;
    for (const std::string &command : commands)
        if (command.compare(0, prefix.size(), prefix) == 0)
            ++count;
    return count;
}

// ---- Editing a list entry's label in place ----

HWND BeginLabelEdit(HWND list, int index)
{
    return (HWND)SendMessageA(list, LVM_EDITLABELA, index, 0);
}

void EndLabelEdit(HWND edit, const std::string &text, UINT key)
{
    SendMessageA(edit, WM_SETTEXT, 0, (LPARAM)text.c_str());
    PressKey(edit, key);
}

// ---- The file commands, done as a person does them ----

static HWND MainList(HWND main)
{
    return GetDlgItem(main, IDC_FILE_LIST);
}

// Waits until `closing` (a chooser or the prompt) is gone and the command it served has run.
static bool WaitUntilAnswered(HWND main, HWND closing)
{
    if (!WaitForWindowGone(closing))
        return false;
    Settle(main);
    return true;
}

// Picks `path` in a chooser and waits until the command it serves has run.
static bool FinishChooser(HWND main, HWND chooser, const std::string &path)
{
    ChooseInFileDialog(chooser, path);
    return WaitUntilAnswered(main, chooser);
}

bool UploadThroughChooser(const RuvexProcess &ruvex, HWND main, const std::string &localPath)
{
    PressButton(main, IDC_UPLOAD);
    HWND chooser = WaitForWindow(ruvex, "Select file");
    return chooser != nullptr && FinishChooser(main, chooser, localPath);
}

bool ActivateListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name)
{
    const int index = FindListEntry(ruvex, MainList(main), name);
    if (index < 0)
        return false;
    DoubleClickListItem(ruvex, MainList(main), index);
    return true;
}

HWND OpenSaveChooserFor(const RuvexProcess &ruvex, HWND main, const std::string &remoteName)
{
    if (!ActivateListEntry(ruvex, main, remoteName))
        return nullptr;
    return WaitForWindow(ruvex, "Save file as");
}

bool DownloadThroughChooser(const RuvexProcess &ruvex, HWND main, const std::string &remoteName,
                            const std::string &localPath)
{
    HWND chooser = OpenSaveChooserFor(ruvex, main, remoteName);
    return chooser != nullptr && FinishChooser(main, chooser, localPath);
}

HWND OpenFolderPrompt(const RuvexProcess &ruvex, HWND main)
{
    PressButton(main, IDC_NEW_FOLDER);
    return WaitForWindow(ruvex, "Choose a folder name");
}

bool AnswerFolderPrompt(const RuvexProcess &ruvex, HWND main, const std::string &text)
{
    HWND prompt = OpenFolderPrompt(ruvex, main);
    if (prompt == nullptr)
        return false;
    SetControlText(prompt, IDC_PROMPT_EDIT, text);
    PressButton(prompt, IDC_PROMPT_OK);
    return WaitUntilAnswered(main, prompt);
}

bool SelectListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name)
{
    const int index = FindListEntry(ruvex, MainList(main), name);
    if (index < 0)
        return false;
    ClickListItem(ruvex, MainList(main), index);
    Settle(main);
    return true;
}

bool DeleteListEntry(const RuvexProcess &ruvex, HWND main, const std::string &name)
{
    if (!SelectListEntry(ruvex, main, name))
        return false;
    PressButton(main, IDC_DELETE);
    Settle(main);
    return true;
}

bool EditListLabel(const RuvexProcess &ruvex, HWND main, const std::string &name, const std::string &text,
                   UINT key)
{
    const int index = FindListEntry(ruvex, MainList(main), name);
    if (index < 0)
        return false;
    HWND edit = BeginLabelEdit(MainList(main), index);
    if (edit == nullptr)
        return false;
    EndLabelEdit(edit, text, key);
    WaitForWindowGone(edit);
    Settle(main);
    return true;
}

bool Responds(HWND window)
{
    DWORD_PTR ignored = 0;
    return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &ignored) != 0;
}

double NowMs()
{
    static LARGE_INTEGER frequency;
    if (frequency.QuadPart == 0)
        QueryPerformanceFrequency(&frequency);
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart * 1000.0 / frequency.QuadPart;
}
