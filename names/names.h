// names/names.h - byte-wise text operations on file names, local paths and typed input.
// Portable: no platform header. Texts are zero-terminated runs of 8-bit ANSI bytes; no
// operation changes its argument. An operation that makes a new text writes it into the
// caller's buffer of `size` bytes (at least 1), cut to size - 1 characters and ended with a
// zero byte; the buffer may be the text itself.
#ifndef RUVEX_NAMES_NAMES_H
#define RUVEX_NAMES_NAMES_H

#include <cstddef>

// Bytes of the fixed buffers that names and typed texts travel through.
constexpr size_t kNameBufferSize = 261;  // a local path or a listed name: 260 characters at most

// The text after the last "."; the whole name when it holds none. Points into `name`.
const char *GetFileExtension(const char *name);

// The text after the last backslash; the whole path when it holds none. Points into `path`.
const char *GetBaseName(const char *path);

// False when the name holds one of  / \ : * ? " < > |  ; the empty name is valid.
bool IsValidFileName(const char *name);

// True when the text holds a byte below 32 (CR, LF, tab...). Such a text must never be
// sent as a command argument: the FTP library sends arguments raw, so a CR LF inside a
// name would start a second command on the server.
bool HasControlCharacter(const char *text);

// Copies the text into the buffer; the bytes after its zero are left as they were.
void CopyTextToBuffer(char *buffer, size_t size, const char *text);

// A copy with A-Z folded to a-z and every other byte unchanged.
void ToLowerCase(char *buffer, size_t size, const char *text);

// The text without its leading and trailing spaces (code 32 only).
void TrimSpaces(char *buffer, size_t size, const char *text);

// The folder part of a local path: everything up to and including its last backslash;
// "" when the path holds none.
void GetFolderOfPath(char *buffer, size_t size, const char *path);

// A local file name to suggest for a remote name chosen by the server: only its last
// component (after any slash, backslash or drive colon), with characters that a local file
// name cannot hold replaced by "_", and "" for "." and "..". Never leads out of the folder
// the person is in.
void SafeLocalFileName(char *buffer, size_t size, const char *remoteName);

// Byte-for-byte equality; case matters.
bool TextEquals(const char *a, const char *b);

#endif
