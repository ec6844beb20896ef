// browser/listing_order.h - where each listed entry goes in the list, so that the list reads:
// the parent entry, the folders, then the files, each in the server's order.
// Portable: no platform header.
#ifndef RUVEX_BROWSER_LISTING_ORDER_H
#define RUVEX_BROWSER_LISTING_ORDER_H

constexpr int kParentEntryPosition = 0;

// The insert position of the next enumerated entry. The k-th folder of a refresh goes to
// position k, right after the earlier folders; a file goes to the end, after every entry so
// far. `foldersSoFar` and `entriesSoFar` count this refresh's entries, the parent entry
// among them, and are advanced.
int NextInsertPosition(bool isFolder, int *foldersSoFar, int *entriesSoFar);

#endif
