// browser/listing_order.h - where each listed entry goes in the list, so that the list reads:
// the parent entry, the folders, then the files, each in the server's order.
// Portable: no platform header.
#ifndef RUVEX_BROWSER_LISTING_ORDER_H
#define RUVEX_BROWSER_LISTING_ORDER_H

constexpr int kParentEntryPosition = 0;
constexpr int kFilePosition = 10000;  // past the end of any ordinary list: appends

// The insert position of the next enumerated entry. The k-th folder of a refresh goes to
// position k, right after the earlier folders; every file goes to kFilePosition.
// `foldersSoFar` counts the folders inserted in this refresh.
int NextInsertPosition(bool isFolder, int *foldersSoFar);

#endif
