// tests/fuzz_names.cpp - libFuzzer target: every name operation and the classification on
// arbitrary bytes, checking the invariants that callers rely on.
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
    // A text ends at its first zero byte.
    const std::string text(reinterpret_cast<const char *>(data), strnlen(reinterpret_cast<const char *>(data), size));
    char buffer[kNameBufferSize];
    const bool fits = text.size() < sizeof buffer;  // a longer result is cut to the buffer

    const int icon = ClassifyFileName(text.c_str());
    Require(icon >= 1 && icon <= 13 && icon != 11 && icon != 12);

    const std::string extension = GetFileExtension(text.c_str());
    Require(extension.size() <= text.size());
    Require(extension.find('.') == std::string::npos);
    Require(text.compare(text.size() - extension.size(), extension.size(), extension) == 0);

    const std::string baseName = GetBaseName(text.c_str());
    Require(baseName.find('\\') == std::string::npos);
    GetFolderOfPath(buffer, sizeof buffer, text.c_str());
    Require(!fits || buffer + baseName == text);

    ToLowerCase(buffer, sizeof buffer, text.c_str());
    Require(std::strlen(buffer) == std::min(text.size(), kNameBufferSize - 1));

    TrimSpaces(buffer, sizeof buffer, text.c_str());
    const std::string trimmed = buffer;
    Require(trimmed.empty() || (trimmed.front() != ' ' && (!fits || trimmed.back() != ' ')));
    Require(text.find(trimmed) != std::string::npos);

    SafeLocalFileName(buffer, sizeof buffer, text.c_str());
    const std::string safe = buffer;
    Require(safe.find_first_of("/\\:*?\"<>|") == std::string::npos);
    Require(!HasControlCharacter(buffer) && safe != "." && safe != "..");

    if (!IsValidFileName(text.c_str()))
        Require(text.find_first_of("/\\:*?\"<>|") != std::string::npos);

    CopyTextToBuffer(buffer, sizeof buffer, text.c_str());
    const size_t kept = std::strlen(buffer);
    Require(kept <= kNameBufferSize - 1);
    Require(std::memcmp(buffer, text.data(), kept) == 0);
    return 0;
}
