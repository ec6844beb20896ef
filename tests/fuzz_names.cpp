// tests/fuzz_names.cpp - libFuzzer target: every name operation and the classification on
// arbitrary bytes, checking the invariants that callers rely on.
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
    const std::string text(reinterpret_cast<const char *>(data), size);

    const int icon = ClassifyFileName(text);
    Require(icon >= 1 && icon <= 13 && icon != 11 && icon != 12);

    const std::string extension = GetFileExtension(text);
    Require(extension.size() <= text.size());
    Require(extension.find('.') == std::string::npos);
    Require(text.compare(text.size() - extension.size(), extension.size(), extension) == 0);

    const std::string baseName = GetBaseName(text);
    Require(baseName.find('\\') == std::string::npos);
    Require(GetFolderOfPath(text) + baseName == text);

    Require(ToLowerCase(text).size() == text.size());

    const std::string trimmed = TrimSpaces(text);
    Require(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    Require(text.find(trimmed) != std::string::npos);

    const std::string safe = SafeLocalFileName(text);
    Require(safe.find_first_of("/\\:*?\"<>|") == std::string::npos);
    Require(!HasControlCharacter(safe) && safe != "." && safe != "..");

    if (!IsValidFileName(text))
        Require(text.find_first_of("/\\:*?\"<>|") != std::string::npos);

    char buffer[kNameBufferSize];
    CopyTextToBuffer(buffer, sizeof buffer, text);
    const size_t kept = std::strlen(buffer);
    Require(kept <= kNameBufferSize - 1);
    Require(std::memcmp(buffer, text.data(), kept) == 0);
    return 0;
}
