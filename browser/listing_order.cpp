// browser/listing_order.cpp - see listing_order.h.
#include "listing_order.h"

int NextInsertPosition(bool isFolder, int *foldersSoFar)
{
    if (!isFolder)
        return kFilePosition;
    return ++*foldersSoFar;
}
