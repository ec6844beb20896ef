// bench/bare_dialog.cpp - the yardstick for Ruvex's start-up: a program that does only what
// Ruvex must before its first window, loading the common controls, and then shows the same
// login window from the same template (app/ruvex.rc), with nothing behind it. It ends when
// the window is closed.
#include <windows.h>

#include "../app/resource.h"

static INT_PTR CALLBACK BareDialogProc(HWND window, UINT message, WPARAM, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_CLOSE:
        EndDialog(window, 0);
        return TRUE;
    }
    return FALSE;
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    (void)LoadLibraryA("comctl32.dll");
    (void)DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_LOGIN), nullptr, BareDialogProc, 0);
    return 0;
}
