// dialogs/prompt.cpp - the one-line text prompt.
#include "dialogs.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../names/names.h"

// Read only while a prompt opens, so a prompt opened later may overwrite them.
static char g_promptTitle[1024];
static char g_promptText[1024];
constexpr int kPromptReplyLimit = kPromptReplySize - 1;  // counts the terminating zero: 1023 characters

// Each prompt writes its reply into the buffer of the PromptForText call that opened it
// (kept as the dialog's user data): the main window stays usable while a prompt is open, so
// a second prompt can open inside the first, and neither may take the other's reply.
static void OnPromptInit(HWND window, LPARAM reply)
{
    SetWindowLongPtrA(window, DWLP_USER, reply);
    SendMessageA(window, WM_SETTEXT, 0, (LPARAM)g_promptTitle);
    SendDlgItemMessageA(window, IDC_PROMPT_TEXT, WM_SETTEXT, 0, (LPARAM)g_promptText);
}

static void OnPromptCommand(HWND window, int id)
{
    if (id != IDC_PROMPT_OK)
        return;
    char *reply = (char *)GetWindowLongPtrA(window, DWLP_USER);
    SendDlgItemMessageA(window, IDC_PROMPT_EDIT, WM_GETTEXT, kPromptReplyLimit, (LPARAM)reply);
    EndDialog(window, 0);
}

// Ok is the default button, so Enter takes the reply; Escape (IDCANCEL) has no case and
// leaves the prompt open; the close box ends it with the reply buffer still empty.
static INT_PTR CALLBACK PromptWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnPromptInit(window, lParam);
        return TRUE;  // the focus goes to the first tab stop: the edit field
    case WM_COMMAND:
        if (HIWORD(wParam) == 0)
            OnPromptCommand(window, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, -1);
        return TRUE;
    }
    return FALSE;
}

void PromptForText(char *reply, size_t size, const char *title, const char *question)
{
    CopyTextToBuffer(g_promptTitle, sizeof g_promptTitle, title);
    CopyTextToBuffer(g_promptText, sizeof g_promptText, question);
    char ownReply[kPromptReplySize] = "";
    (void)DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_PROMPT), nullptr, PromptWindowProc, (LPARAM)ownReply);
    CopyTextToBuffer(reply, size, ownReply);
}

static BOOL CALLBACK EndIfPrompt(HWND window, LPARAM)
{
    if (GetWindowLongPtrA(window, DWLP_DLGPROC) == (LONG_PTR)PromptWindowProc)
        EndDialog(window, -1);
    return TRUE;
}

void EndOpenPrompts()
{
    EnumThreadWindows(GetCurrentThreadId(), EndIfPrompt, 0);
}
