// dialogs/prompt.cpp - the one-line text prompt.
#include "dialogs.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../names/names.h"

// Shared by every prompt: a prompt opened while another is open overwrites them, and each
// returns what the reply buffer holds when its own dialog ends.
static char g_promptTitle[1024];
static char g_promptText[1024];
static char g_promptReply[kPromptReplySize];
constexpr int kPromptReplyLimit = kPromptReplySize - 1;  // counts the terminating zero: 1023 characters

static void OnPromptInit(HWND window)
{
    SendMessageA(window, WM_SETTEXT, 0, (LPARAM)g_promptTitle);
    SendDlgItemMessageA(window, IDC_PROMPT_TEXT, WM_SETTEXT, 0, (LPARAM)g_promptText);
}

static void OnPromptCommand(HWND window, int id)
{
    if (id != IDC_PROMPT_OK)
        return;
    SendDlgItemMessageA(window, IDC_PROMPT_EDIT, WM_GETTEXT, kPromptReplyLimit, (LPARAM)g_promptReply);
    EndDialog(window, 0);
}

// Ok is the default button, so Enter takes the reply; Escape (IDCANCEL) has no case and
// leaves the prompt open; the close box ends it with the reply buffer still empty.
static INT_PTR CALLBACK PromptWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        OnPromptInit(window);
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
    CopyTextToBuffer(g_promptReply, sizeof g_promptReply, "");
    (void)DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_PROMPT), nullptr, PromptWindowProc, 0);
    CopyTextToBuffer(reply, size, g_promptReply);
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
