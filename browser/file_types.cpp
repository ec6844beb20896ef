// browser/file_types.cpp - the extension table behind ClassifyFileName.
#include "file_types.h"

#include "../names/names.h"

namespace {

struct ExtensionGroup {
    int icon;
    const char *const *extensions;  // ends with nullptr
};

const char *const kPictures[] = {"png", "jpg", "jpeg", "bmp", "tiff", "tif", "gif", "dib", "tga", nullptr};
const char *const kPdf[] = {"pdf", nullptr};
const char *const kArchives[] = {"zip", "rar", "gz", "7z", "jar", "tar", "lzo", "cab", "tgz", nullptr};
const char *const kWebPages[] = {"html", "htm", nullptr};
const char *const kPhp[] = {"php", nullptr};
const char *const kPrograms[] = {"exe", "com", nullptr};
const char *const kFlash[] = {"fla", "swf", nullptr};
const char *const kSpreadsheets[] = {"csv", "dbf", "sylk", "dif", "xml", "xls", "xlw", "xlt", nullptr};
const char *const kDocuments[] = {"doc", "rtf", "txt", nullptr};
const char *const kMedia[] = {"wmv", "avi", "mpg", "mpeg", "mov", "rm", "flv", "wma", "ram", "qt", nullptr};

// Every literal is lower case and occurs once, so the order of the walk does not change a result.
const ExtensionGroup kGroups[] = {
    {ICON_PICTURE, kPictures},   {ICON_PDF, kPdf},         {ICON_ARCHIVE, kArchives},
    {ICON_WEB_PAGE, kWebPages},  {ICON_PHP, kPhp},         {ICON_PROGRAM, kPrograms},
    {ICON_FLASH, kFlash},        {ICON_SPREADSHEET, kSpreadsheets},
    {ICON_DOCUMENT, kDocuments}, {ICON_MEDIA, kMedia},
};

}  // namespace

int ClassifyFileName(const char *name)
{
    // A longer extension is cut, and then still matches no literal of the table.
    char extension[kNameBufferSize];
    ToLowerCase(extension, sizeof extension, GetFileExtension(name));
    for (const ExtensionGroup &group : kGroups)
        for (const char *const *literal = group.extensions; *literal != nullptr; ++literal)
            if (TextEquals(extension, *literal))
                return group.icon;
    return ICON_FILE;
}

EntryKind EntryKindOf(int imageIndex)
{
    if (imageIndex == ICON_PARENT)
        return ENTRY_PARENT;
    if (imageIndex == ICON_FOLDER)
        return ENTRY_FOLDER;
    return ENTRY_FILE;
}
