// browser/images.cpp - the file-type image list and the pictures of the four buttons.
#include "browser.h"

#include "../app/app.h"
#include "../app/resource.h"
#include "../app/system_libraries.h"
#include "file_types.h"

static HBITMAP LoadBitmapResource(int id, UINT flags)
{
    return (HBITMAP)LoadImageA(g_moduleInstance, MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags);
}

void LoadImages()
{
    // The list view owns the image list (it has no LVS_SHAREIMAGELISTS), and the buttons
    // keep their bitmaps for the whole run.
    HIMAGELIST fileTypeImages = p_ImageList_Create(16, 16, ILC_COLOR32, 0, 32);

    HBITMAP fileTypes[kFileTypeImageCount];
    for (int i = 0; i < kFileTypeImageCount; ++i)
        fileTypes[i] = LoadBitmapResource(IDB_FILETYPE_FIRST + i, LR_DEFAULTCOLOR);
    // The light grey of the button pictures becomes the button face colour.
    HBITMAP refresh = LoadBitmapResource(IDB_REFRESH, LR_LOADMAP3DCOLORS);
    HBITMAP upload = LoadBitmapResource(IDB_UPLOAD, LR_LOADMAP3DCOLORS);
    HBITMAP newFolder = LoadBitmapResource(IDB_NEW_FOLDER, LR_LOADMAP3DCOLORS);
    HBITMAP remove = LoadBitmapResource(IDB_DELETE, LR_LOADMAP3DCOLORS);

    // Added in ascending order, so image index i is bitmap IDB_FILETYPE_FIRST + i. The image
    // list keeps a copy of each.
    for (HBITMAP bitmap : fileTypes) {
        p_ImageList_Add(fileTypeImages, bitmap, nullptr);
        DeleteObject(bitmap);
    }
    SendDlgItemMessageA(g_mainWindow, IDC_FILE_LIST, LVM_SETIMAGELIST, LVSIL_SMALL, (LPARAM)fileTypeImages);

    SendDlgItemMessageA(g_mainWindow, IDC_REFRESH, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)refresh);
    SendDlgItemMessageA(g_mainWindow, IDC_UPLOAD, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)upload);
    SendDlgItemMessageA(g_mainWindow, IDC_NEW_FOLDER, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)newFolder);
    SendDlgItemMessageA(g_mainWindow, IDC_DELETE, BM_SETIMAGE, IMAGE_BITMAP, (LPARAM)remove);
}
