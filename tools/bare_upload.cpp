// tools/bare_upload.cpp - the platform calls Ruvex makes for an upload, in its order, with no
// Ruvex around them: connect with a context pointer, list the folder, show the open chooser
// (answered by itself as soon as it is ready), upload. It tells whether a hang under qemu-user
// is the program's or the emulation's (README, "How the tests run").
//   bare_upload.exe LOCAL_FILE [l][c]     l: list first; c: show the chooser first
#include <windows.h>
#include <commdlg.h>
#include <wininet.h>

#include <cstdio>
#include <cstring>

static DWORD g_start;

static void Say(const char *what)
{
    std::printf("%6lu ms %s\n", GetTickCount() - g_start, what);
    std::fflush(stdout);
}

static UINT_PTR CALLBACK PressOpenWhenReady(HWND dialog, UINT message, WPARAM, LPARAM lParam)
{
    if (message == WM_NOTIFY && ((NMHDR *)lParam)->code == CDN_INITDONE)
        PostMessageA(GetParent(dialog), WM_COMMAND, IDOK, 0);
    return 0;
}

int main(int argc, char **argv)
{
    g_start = GetTickCount();
    static DWORD_PTR context;
    const char *steps = argc > 2 ? argv[2] : "";
    HINTERNET internet = InternetOpenA("bare", INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0);
    HINTERNET ftp = InternetConnectA(internet, "127.0.0.1", 21, "ruvex", "secret", INTERNET_SERVICE_FTP, 0,
                                     (DWORD_PTR)&context);
    Say(ftp != nullptr ? "connected" : "not connected");
    if (std::strchr(steps, 'l') != nullptr) {
        WIN32_FIND_DATAA found;
        HINTERNET find = FtpFindFirstFileA(ftp, nullptr, &found, INTERNET_FLAG_NO_CACHE_WRITE, 0);
        while (find != nullptr && InternetFindNextFileA(find, &found)) {}
        InternetCloseHandle(find);
        Say("listed");
    }
    char path[MAX_PATH + 1] = {};
    lstrcpynA(path, argc > 1 ? argv[1] : "", sizeof path);
    if (std::strchr(steps, 'c') != nullptr) {
        OPENFILENAMEA record = {};
        record.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
        record.lpstrFilter = "All Files, (*.*)\0\0";
        record.nFilterIndex = 1;
        record.lpstrFile = path;
        record.nMaxFile = sizeof path;
        record.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_ENABLEHOOK;
        record.lpfnHook = PressOpenWhenReady;
        Say(GetOpenFileNameA(&record) ? "chosen" : "chooser failed");
    }
    Say(FtpPutFileA(ftp, path, "up.bin", FTP_TRANSFER_TYPE_BINARY, (DWORD_PTR)&context) ? "uploaded" : "upload failed");
    return 0;
}
