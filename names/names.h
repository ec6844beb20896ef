// names/names.h - byte-wise text operations on file names, local paths and typed input.
// Portable: no platform header. Texts are std::string values of 8-bit ANSI bytes; no
// operation changes its argument.
#ifndef RUVEX_NAMES_NAMES_H
#define RUVEX_NAMES_NAMES_H

#include <cstddef>
#include <string>

// Bytes of the fixed buffers that names and typed texts travel through.
constexpr size_t kNameBufferSize = 261;  // a local path or a listed name: 260 characters at most

// The text after the last "."; the whole name when it holds none.
std::string GetFileExtension(const std::string &name);

// The text after the last backslash; the whole path when it holds none.
std::string GetBaseName(const std::string &path);

// False when the name holds one of  / \ : * ? " < > |  ; the empty name is valid.
bool IsValidFileName(const std::string &name);

// The folder part of a local path: everything up to and including its last backslash;
// "" when the path holds none.
std::string GetFolderOfPath(const std::string &path);

// True when the text holds a byte below 32 (CR, LF, tab...). Such a text must never be
// sent as a command argument: the FTP library sends arguments raw, so a CR LF inside a
// name would start a second command on the server.
bool HasControlCharacter(const std::string &text);

// A copy with A-Z folded to a-z and every other byte unchanged.
std::string ToLowerCase(const std::string &text);

// The text without its leading and trailing spaces (code 32 only).
std::string TrimSpaces(const std::string &text);

// Copies the text into a buffer of `size` bytes, cut to size - 1 characters, and ends it
// with a zero byte; the bytes after that zero are left as they were.
void CopyTextToBuffer(char *buffer, size_t size, const std::string &text);

// Byte-for-byte equality; case matters.
bool TextEquals(const std::string &a, const std::string &b);

// A local file name to suggest for a remote name chosen by the server: only its last
// component (after any slash, backslash or drive colon), with characters that a local file
// name cannot hold replaced by "_", and "" for "." and "..". Never leads out of the folder
// the person is in.
std::string SafeLocalFileName(const std::string &remoteName);

#endif
