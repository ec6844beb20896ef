// bench/bare_dialog.cpp - the yardstick for Ruvex's start-up: a program that shows one
// dialog from a template and ends when it is closed, with nothing else loaded.
#include <windows.h>

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
    DialogBoxParamA(instance, MAKEINTRESOURCEA(1), nullptr, BareDialogProc, 0);
    return 0;
}
