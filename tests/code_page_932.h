// tests/code_page_932.h - code page 932's characters by byte ranges: a lead byte 81-9F or E0-FC, then
// a second byte 40-7E or 80-FC. SO (83 5C), HYOU (95 5C) and PO (83 7C) end in "\" or "|".
#ifndef RUVEX_TESTS_CODE_PAGE_932_H
#define RUVEX_TESTS_CODE_PAGE_932_H

// A CharacterLengthFunction (names/names.h).
inline int CodePage932CharacterLength(const char *text)
{
    const unsigned char lead = (unsigned char)text[0], second = (unsigned char)text[1];
    if (!((lead >= 0x81 && lead <= 0x9f) || (lead >= 0xe0 && lead <= 0xfc)))
        return 1;
    return second >= 0x40 && second <= 0xfc && second != 0x7f ? 2 : 0;
}

#endif
