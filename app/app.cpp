// app/app.cpp - process-wide values of the application shell.
#include "app.h"

#include "resource.h"

HINSTANCE g_moduleInstance;

void SetApplicationIcon(HWND window)
{
    HICON icon = LoadIconA(g_moduleInstance, MAKEINTRESOURCEA(IDI_APP));
    SetClassLongPtrA(window, GCLP_HICON, (LONG_PTR)icon);
}
