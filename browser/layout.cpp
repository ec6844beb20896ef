// browser/layout.cpp - the main window's layout: the list fills the window below a row
// of the path label and four 21-pixel buttons on a 25-pixel pitch.
#include "layout.h"

#include "../app/resource.h"

MainLayout ComputeMainLayout(int width, int height)
{
    const MainLayout layout = {{
        {IDC_FILE_LIST, 3, 27, width - 6, height - 30},
        {IDC_PATH_LABEL, 3, 3, width - 105, 21},
        {IDC_REFRESH, width - 25, 3, 21, 21},
        {IDC_UPLOAD, width - 50, 3, 21, 21},
        {IDC_NEW_FOLDER, width - 75, 3, 21, 21},
        {IDC_DELETE, width - 100, 3, 21, 21},
    }};
    return layout;
}
