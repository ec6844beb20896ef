// browser/file_types.h - the file-type image indexes and the choice of picture for a file.
// Portable: no platform header.
#ifndef RUVEX_BROWSER_FILE_TYPES_H
#define RUVEX_BROWSER_FILE_TYPES_H

// Image index i of the file-type image list is bitmap IDB_FILETYPE_FIRST + i. An entry's
// image index also tells its kind: ICON_FOLDER is a folder, ICON_PARENT the parent entry,
// any other index a file. Index 11 repeats the picture of 8 and is never assigned.
enum FileTypeIcon {
    ICON_FOLDER = 0,
    ICON_PDF = 1,
    ICON_PROGRAM = 2,
    ICON_ARCHIVE = 3,
    ICON_SPREADSHEET = 4,
    ICON_MEDIA = 5,
    ICON_FLASH = 6,
    ICON_WEB_PAGE = 7,
    ICON_PICTURE = 8,
    ICON_FILE = 9,
    ICON_PHP = 10,
    ICON_PARENT = 12,
    ICON_DOCUMENT = 13,
};

constexpr int kFileTypeImageCount = 14;

// What an entry of the list is, told by its image index.
enum EntryKind { ENTRY_PARENT, ENTRY_FOLDER, ENTRY_FILE };
EntryKind EntryKindOf(int imageIndex);

// The picture of a file, by the last extension of its name, compared after folding A-Z.
// Never ICON_FOLDER, 11 or ICON_PARENT, so the result always marks a file.
int ClassifyFileName(const char *name);

#endif
