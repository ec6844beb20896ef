// tests/fuzz_names.cpp - libFuzzer target: every name operation and the classification on
// arbitrary bytes, through buffers of the name buffer's size, checking what callers rely on.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../browser/file_types.h"
#include "../names/names.h"

static void Require(bool condition)
{
    if (!condition)
        std::abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text((const char *)data, strnlen((const char *)data, size));  // up to the first zero
    const char *name = text.c_str();
    char buffer[kNameBufferSize];  // AddressSanitizer catches a write past it
    const bool fits = text.size() < sizeof buffer;

    const int icon = ClassifyFileName(name);
    Require(icon >= 1 && icon <= 13 && icon != 11 && icon != 12);
    const std::string extension = GetFileExtension(name), baseName = GetBaseName(name);
    Require(extension.find('.') == std::string::npos && baseName.find('\\') == std::string::npos);
    GetFolderOfPath(buffer, sizeof buffer, name);
    Require(!fits || buffer + baseName == text);
    ToLowerCase(buffer, sizeof buffer, name);
    Require(std::strlen(buffer) == std::min(text.size(), sizeof buffer - 1));
    TrimSpaces(buffer, sizeof buffer, name);
    Require(buffer[0] != ' ' && text.find(buffer) != std::string::npos);
    SafeLocalFileName(buffer, sizeof buffer, name);
    Require(std::strpbrk(buffer, "/\\:*?\"<>|") == nullptr && !HasControlCharacter(buffer) &&
            std::strcmp(buffer, ".") != 0 && std::strcmp(buffer, "..") != 0);
    Require(IsValidFileName(name) == (text.find_first_of("/\\:*?\"<>|") == std::string::npos));
    CopyTextToBuffer(buffer, sizeof buffer, name);
    Require(std::strlen(buffer) <= sizeof buffer - 1 && text.compare(0, std::strlen(buffer), buffer) == 0);
    return 0;
}
