// app/app.cpp - process-wide values of the application shell.
#include "app.h"

#include "resource.h"

HINSTANCE g_moduleInstance;

void SetApplicationIcon(HWND window)
{
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_APP));
    SetClassLongA(window, GCL_HICON, (LONG)(LONG_PTR)icon);
}
