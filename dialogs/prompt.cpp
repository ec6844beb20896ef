// dialogs/prompt.cpp - the one-line text prompt.
#include "dialogs.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../names/names.h"

// What one prompt shows and what it answers, handed to its dialog through DialogBoxParamA and
// kept as the dialog's user data. The main window stays usable while a prompt is open, so a
// second prompt can open inside the first; each must keep its own texts and reply.
struct Prompt {
    char title[1024];
    char question[1024];
    char reply[kPromptReplySize];
};

static Prompt *PromptOf(HWND window)
{
    return (Prompt *)GetWindowLongPtrA(window, DWLP_USER);
}

static void OnPromptInit(HWND window, Prompt *prompt)
{
    SetWindowLongPtrA(window, DWLP_USER, (LONG_PTR)prompt);
    SendMessageA(window, WM_SETTEXT, 0, (LPARAM)prompt->title);
    SendDlgItemMessageA(window, IDC_PROMPT_TEXT, WM_SETTEXT, 0, (LPARAM)prompt->question);
}

// The edit field is asked for one byte less than the reply holds, its zero included.
static void OnPromptCommand(HWND window, int id)
{
    if (id != IDC_PROMPT_OK)
        return;
    SendDlgItemMessageA(window, IDC_PROMPT_EDIT, WM_GETTEXT, kPromptReplySize - 1, (LPARAM)PromptOf(window)->reply);
    EndDialog(window, 0);
}

// Ok is the default button, so Enter takes the reply; Escape (IDCANCEL) has no case and
// leaves the prompt open; the close box ends it with the reply buffer still empty.
static INT_PTR CALLBACK PromptWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        OnPromptInit(window, (Prompt *)lParam);
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
    Prompt prompt;
    CopyTextToBuffer(prompt.title, sizeof prompt.title, title);
    CopyTextToBuffer(prompt.question, sizeof prompt.question, question);
    CopyTextToBuffer(prompt.reply, sizeof prompt.reply, "");
    (void)DialogBoxParamA(g_moduleInstance, MAKEINTRESOURCEA(IDD_PROMPT), nullptr, PromptWindowProc, (LPARAM)&prompt);
    CopyTextToBuffer(reply, size, prompt.reply);
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
