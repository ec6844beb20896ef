// names/names.cpp - byte-wise text operations; see names.h.
#include "names.h"

#include <cstring>

// Writes the first `length` bytes of `text` into the buffer, cut to size - 1, and a zero.
// memmove, because a caller may hand in its own buffer as the text.
static void CopyRunToBuffer(char *buffer, size_t size, const char *text, size_t length)
{
    if (length > size - 1)
        length = size - 1;
    std::memmove(buffer, text, length);
    buffer[length] = '\0';
}

// The text after the last occurrence of `separator`; the whole text when it holds none.
static const char *TextAfterLast(const char *text, char separator)
{
    const char *last = std::strrchr(text, separator);
    return last == nullptr ? text : last + 1;
}

const char *GetFileExtension(const char *name)
{
    return TextAfterLast(name, '.');
}

const char *GetBaseName(const char *path)
{
    return TextAfterLast(path, '\\');
}

bool IsValidFileName(const char *name)
{
    return std::strpbrk(name, "/\\:*?\"<>|") == nullptr;
}

bool HasControlCharacter(const char *text)
{
    for (; *text != '\0'; ++text)
        if ((unsigned char)*text < 32)
            return true;
    return false;
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
    const char *name = remoteName;
    for (const char *c = remoteName; *c != '\0'; ++c)
        if (*c == '/' || *c == '\\' || *c == ':')
            name = c + 1;
    if (TextEquals(name, ".") || TextEquals(name, ".."))
        name = "";
    CopyTextToBuffer(buffer, size, name);
    for (char *c = buffer; *c != '\0'; ++c)
        if ((unsigned char)*c < 32 || std::strchr("*?\"<>|", *c) != nullptr)
            *c = '_';
}

bool TextEquals(const char *a, const char *b)
{
    return std::strcmp(a, b) == 0;
}
