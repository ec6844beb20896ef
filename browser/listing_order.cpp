// browser/listing_order.cpp - see listing_order.h.
#include "listing_order.h"

int NextInsertPosition(bool isFolder, int *foldersSoFar, int *entriesSoFar)
{
    const int end = (*entriesSoFar)++;
    return isFolder ? ++*foldersSoFar : end;
}
