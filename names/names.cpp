// names/names.cpp - text operations by character or byte; see names.h.
#include "names.h"

#include <cstring>

// The characters no local file name can hold.
static const char kForbiddenCharacters[] = "/\\:*?\"<>|";

static CharacterLengthFunction g_characterLength;  // nullptr: a byte is a character

void UseCharacterLengths(CharacterLengthFunction characterLength)
{
    g_characterLength = characterLength;
}

static int CharacterLength(const char *text)
{
    return g_characterLength == nullptr ? 1 : g_characterLength(text);
}

// True when every lead byte of the text is followed by a byte that can follow it: only then
// do all readings of the code page agree on where the characters start.
static bool IsWellFormed(const char *text)
{
    for (int length; *text != '\0'; text += length)
        if ((length = CharacterLength(text)) == 0)
            return false;
    return true;
}

// The start of the character after the one at `c`; of the next byte when the text is read
// byte by byte.
static const char *NextCharacter(const char *c, bool byCharacter)
{
    return c + (byCharacter ? CharacterLength(c) : 1);
}

// The first one-byte character that `set` holds, from the character at `c` on, read by
// character or byte by byte; nullptr when there is none.
static const char *FindCharacterOf(const char *c, const char *set, bool byCharacter)
{
    for (const char *next; *c != '\0'; c = next) {
        next = NextCharacter(c, byCharacter);
        if (next == c + 1 && std::strchr(set, *c) != nullptr)
            return c;
    }
    return nullptr;
}

// The last one-byte character of the text that `set` holds; nullptr when there is none.
static const char *FindLastCharacterOf(const char *text, const char *set)
{
    const bool byCharacter = IsWellFormed(text);
    const char *last = nullptr;
    for (const char *c = text; (c = FindCharacterOf(c, set, byCharacter)) != nullptr; ++c)
        last = c;
    return last;
}

// Replaces with "_" every one-byte character of the text that `set` holds, read by character
// or byte by byte. "_" is never a lead byte, so no character changes its length.
static void ReplaceCharactersOf(char *text, const char *set, bool byCharacter)
{
    for (const char *c = text; (c = FindCharacterOf(c, set, byCharacter)) != nullptr; ++c)
        text[c - text] = '_';
}

// The most bytes of `text`, at most `limit`, that end where a character ends; byte by byte
// when the text's characters cannot be told apart.
static size_t WholeCharactersWithin(const char *text, size_t limit)
{
    if (!IsWellFormed(text))
        return limit;
    size_t end = 0;
    for (size_t next; (next = end + CharacterLength(text + end)) <= limit; end = next) {
    }
    return end;
}

// Writes the first `length` bytes of `text` into the buffer, cut to size - 1 on a character's
// end, and a zero. memmove, because a caller may hand in its own buffer as the text.
static void CopyRunToBuffer(char *buffer, size_t size, const char *text, size_t length)
{
    if (length > size - 1)
        length = WholeCharactersWithin(text, size - 1);
    std::memmove(buffer, text, length);
    buffer[length] = '\0';
}

// The text after the last of its characters that `separators` holds; the whole text when
// it holds none.
static const char *TextAfterLast(const char *text, const char *separators)
{
    const char *last = FindLastCharacterOf(text, separators);
    return last == nullptr ? text : last + 1;
}

const char *GetFileExtension(const char *name)
{
    return TextAfterLast(name, ".");
}

const char *GetBaseName(const char *path)
{
    return TextAfterLast(path, "\\");
}

bool IsValidFileName(const char *name)
{
    return FindLastCharacterOf(name, kForbiddenCharacters) == nullptr;
}

bool HasControlCharacter(const char *text)
{
    for (; *text != '\0'; ++text)
        if ((unsigned char)*text < 32)
            return true;
    return false;
}

bool MayHaveBeenCut(const char *listedName)
{
    return std::strlen(listedName) >= kListedNameSize - 1;
}

void CopyTextToBuffer(char *buffer, size_t size, const char *text)
{
    CopyRunToBuffer(buffer, size, text, std::strlen(text));
}

void ToLowerCase(char *buffer, size_t size, const char *text)
{
    CopyTextToBuffer(buffer, size, text);
    for (char *c = buffer; *c != '\0'; ++c)
        if (*c >= 'A' && *c <= 'Z')
            *c = (char)(*c + ('a' - 'A'));
}

void TrimSpaces(char *buffer, size_t size, const char *text)
{
    while (*text == ' ')
        ++text;
    size_t length = std::strlen(text);
    while (length > 0 && text[length - 1] == ' ')
        --length;
    CopyRunToBuffer(buffer, size, text, length);
}

void GetFolderOfPath(char *buffer, size_t size, const char *path)
{
    CopyRunToBuffer(buffer, size, path, (size_t)(GetBaseName(path) - path));
}

void SafeLocalFileName(char *buffer, size_t size, const char *remoteName)
{
    const char *name = TextAfterLast(remoteName, "/\\:");
    if (TextEquals(name, ".") || TextEquals(name, ".."))
        name = "";
    CopyTextToBuffer(buffer, size, name);
    for (char *c = buffer; *c != '\0'; ++c)
        if ((unsigned char)*c < 32)
            *c = '_';
    // Where every reading agrees on where the characters start, the forbidden ones go and every
    // double-byte character stays, since "_" is one byte as they were. Otherwise every forbidden
    // byte goes, a character's second byte too: then no reading can find one.
    ReplaceCharactersOf(buffer, kForbiddenCharacters, IsWellFormed(buffer));
}

unsigned long ExactConversionFlags(unsigned codePage)
{
    const unsigned kUtf8 = 65001;
    const unsigned long kNoBestFitChars = 0x400, kErrorOnInvalidChars = 0x80;
    return codePage == kUtf8 ? kErrorOnInvalidChars : kNoBestFitChars;
}

bool TextEquals(const char *a, const char *b)
{
    return std::strcmp(a, b) == 0;
}
