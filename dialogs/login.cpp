// dialogs/login.cpp - the login dialog: tries to connect until a login succeeds.
#include "dialogs.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../ftp/session.h"

// The last attempt's texts. Each field is read with a count one short of its buffer, so
// the longest texts sent are 510, 254 and 254 characters.
static char g_server[512];
static char g_userName[256];
static char g_password[256];

static void AttemptLogin(HWND window)
{
    (void)GetDlgItemTextA(window, IDC_SERVER, g_server, sizeof g_server - 1);
    (void)GetDlgItemTextA(window, IDC_USERNAME, g_userName, sizeof g_userName - 1);
    (void)GetDlgItemTextA(window, IDC_PASSWORD, g_password, sizeof g_password - 1);
    ConnectSession(g_server, kFtpPort, g_userName, g_password);
    if (IsSessionOpen()) {
        EndDialog(window, 0);
        return;
    }
    // Close the library handle too; the next attempt opens a fresh one. The fields keep
    // their texts for another try. The box is the login window's, so that Login cannot be
    // pressed again while it is open.
    CloseSession();
    MessageBoxA(window, "Could not login! Make sure server, username, and password are correct and try again.",
                "Error!", MB_OK);
}

static void OnLoginCommand(HWND window, int id)
{
    if (id == IDC_LOGIN)
        AttemptLogin(window);
}

// There is no IDOK or IDCANCEL case and no default button: Enter and Escape do nothing.
static INT_PTR CALLBACK LoginWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        SetApplicationIcon(window);
        return TRUE;  // the focus goes to the first tab stop: the server field
    case WM_CLOSE:
        ExitProcess(0xFFFFFFFF);  // nothing is open: a successful login has already ended the dialog
    case WM_COMMAND:
        if (HIWORD(wParam) == 0)
            OnLoginCommand(window, LOWORD(wParam));
        return TRUE;
    case WM_SIZE:
        return TRUE;  // the controls keep their places when the frame is resized
    }
    return FALSE;
}

void ShowLoginDialog()
{
    (void)DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_LOGIN), nullptr, LoginWindowProc, 0);
}
