// names/names.cpp - byte-wise text operations; see names.h.
#include "names.h"

#include <cstring>

// The text after the last occurrence of `separator`; the whole text when it holds none.
static std::string TextAfterLast(const std::string &text, char separator)
{
    const size_t at = text.rfind(separator);
    return at == std::string::npos ? text : text.substr(at + 1);
}

std::string GetFileExtension(const std::string &name)
{
    return TextAfterLast(name, '.');
}

std::string GetBaseName(const std::string &path)
{
    return TextAfterLast(path, '\\');
}

std::string GetFolderOfPath(const std::string &path)
{
    const size_t at = path.rfind('\\');
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

bool IsValidFileName(const std::string &name)
{
    return name.find_first_of("/\\:*?\"<>|") == std::string::npos;
}

bool HasControlCharacter(const std::string &text)
{
    for (unsigned char c : text)
        if (c < 32)
            return true;
    return false;
}

std::string ToLowerCase(const std::string &text)
{
    std::string lower(text);
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return lower;
}

std::string TrimSpaces(const std::string &text)
{
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return std::string();
    const size_t last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

void CopyTextToBuffer(char *buffer, size_t size, const std::string &text)
{
    if (size == 0)
        return;
    const size_t length = text.size() < size - 1 ? text.size() : size - 1;
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
}

bool TextEquals(const std::string &a, const std::string &b)
{
    return a == b;
}

std::string SafeLocalFileName(const std::string &remoteName)
{
    const size_t lastSeparator = remoteName.find_last_of("/\\:");
    std::string name = lastSeparator == std::string::npos ? remoteName : remoteName.substr(lastSeparator + 1);
    if (name == "." || name == "..")
        return std::string();
    for (char &c : name)
        if (static_cast<unsigned char>(c) < 32 || std::strchr("*?\"<>|", c) != nullptr)
            c = '_';
    return name;
}
