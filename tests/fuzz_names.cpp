// tests/fuzz_names.cpp - libFuzzer target: every name operation and the classification on any bytes,
// read a byte a character, or in code page 932's pairs when the first byte is odd.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../browser/file_types.h"
#include "../names/names.h"
#include "code_page_932.h"

static void Require(bool condition) { if (!condition) std::abort(); }

static const char kForbidden[] = "/\\:*?\"<>|";

// The text with both bytes of each two-byte character made "#"; unchanged where it is read byte
// by byte (no code page set, or a lead byte without a second byte that may follow it).
static std::string OneByteCharactersOnly(const std::string &text, CharacterLengthFunction characterLength)
{
    std::string shown = text;
    for (size_t at = 0, length; at < text.size(); at += length) {
        length = characterLength == nullptr ? 1 : characterLength(&text[at]);
        if (length == 0)
            return text;
        if (length == 2)
            shown[at] = shown[at + 1] = '#';
    }
    return shown;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text((const char *)data, strnlen((const char *)data, size));  // up to the first zero
    const char *name = text.c_str();
    const CharacterLengthFunction reading = size > 0 && data[0] % 2 == 1 ? CodePage932CharacterLength : nullptr;
    UseCharacterLengths(reading);
    const auto holds = [&](const std::string &piece, const char *characters) {
        return OneByteCharactersOnly(piece, reading).find_first_of(characters) != std::string::npos;
    };
    char buffer[kNameBufferSize];  // AddressSanitizer catches a write past it
    const bool fits = text.size() < sizeof buffer;

    const int icon = ClassifyFileName(name);
    Require(icon >= 1 && icon <= 13 && icon != 11 && icon != 12);
    const std::string extension = GetFileExtension(name), baseName = GetBaseName(name);
    const std::string shown = OneByteCharactersOnly(text, reading);  // after the last one-byte "." or "\", or all
    Require(extension == text.substr(shown.find_last_of('.') + 1) && baseName == text.substr(shown.find_last_of('\\') + 1));
    Require(HasControlCharacter(name) == std::any_of(text.begin(), text.end(), [](char c) { return (unsigned char)c < 32; }));
    GetFolderOfPath(buffer, sizeof buffer, name);
    Require(!fits || buffer + baseName == text);
    ToLowerCase(buffer, sizeof buffer, name);
    const size_t most = std::min(text.size(), sizeof buffer - 1);  // one byte less: a character not split
    Require(std::strlen(buffer) == most || (reading != nullptr && std::strlen(buffer) + 1 == most));
    TrimSpaces(buffer, sizeof buffer, name);
    Require(buffer[0] != ' ' && text.find(buffer) != std::string::npos);
    SafeLocalFileName(buffer, sizeof buffer, name);
    Require(!holds(buffer, kForbidden) && !HasControlCharacter(buffer) && std::strcmp(buffer, ".") != 0 &&
            std::strcmp(buffer, "..") != 0);
    Require(!fits || !IsValidFileName(name) || HasControlCharacter(name) || buffer == text || text == "." ||
            text == "..");  // a character's second byte is never replaced
    Require(IsValidFileName(name) == !holds(text, kForbidden));
    CopyTextToBuffer(buffer, sizeof buffer, name);
    Require(std::strlen(buffer) <= sizeof buffer - 1 && text.compare(0, std::strlen(buffer), buffer) == 0);
    return 0;
}
