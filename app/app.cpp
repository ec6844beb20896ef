// app/app.cpp - process-wide values of the application shell.
#include "app.h"

#include "../names/names.h"
#include "resource.h"

HINSTANCE g_moduleInstance;

void SetApplicationIcon(HWND window)
{
    HICON icon = LoadIconA(g_moduleInstance, MAKEINTRESOURCEA(IDI_APP));
    SetClassLongPtrA(window, GCLP_HICON, (LONG_PTR)icon);
}

// A lead byte makes a character only with a second byte that the code page pairs it with:
// MultiByteToWideChar then makes one character of the two, and refuses the pair otherwise.
static int SystemCharacterLength(const char *text)
{
    if (!IsDBCSLeadByte((BYTE)*text))
        return 1;
    WCHAR character[2];
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, text, 2, character, 2) == 1 ? 2 : 0;
}

void ReadNamesInSystemCodePage()
{
    UseCharacterLengths(SystemCharacterLength);
}
