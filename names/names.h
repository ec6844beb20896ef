// names/names.h - text operations on file names, local paths and typed input.
// Portable: no platform header. Texts are zero-terminated runs of 8-bit ANSI bytes; no
// operation changes its argument. An operation that makes a new text writes it into the
// caller's buffer of `size` bytes (at least 1), cut to size - 1 bytes and ended with a zero
// byte; the buffer may be the text itself. A cut never splits a character: a lone lead byte
// left at the end would join whatever text is put after it.
// In a double-byte code page (Japanese, Chinese) the second byte of a character may be a "\"
// or a "|", so the operations that look for a separator or a forbidden character step
// through a text by character. A text holding a lead byte that the byte after it cannot
// follow is read byte by byte instead: readings of such a text differ on where its
// characters start, and byte by byte no "\" can hide inside one.
#ifndef RUVEX_NAMES_NAMES_H
#define RUVEX_NAMES_NAMES_H

#include <cstddef>

// Bytes of the fixed buffers that names and typed texts travel through.
constexpr size_t kNameBufferSize = 261;  // a local path or a listed name: 260 characters at most

// Bytes of the name field of the platform's find record, which receives each listed name.
constexpr size_t kListedNameSize = 260;

// Bytes of a local path picked in a chooser: 260 UTF-16 units at most, each of which may take
// up to three bytes in the system's code page when that is UTF-8.
constexpr size_t kLocalPathSize = 3 * 260 + 1;

// The flags (WC_*) that convert UTF-16 into the code page `codePage` exactly, with no best fit,
// which would make "\" of a fullwidth backslash: WC_NO_BEST_FIT_CHARS. UTF-8 (65001, where
// Windows' "Use Unicode UTF-8 for worldwide language support" is on) has no best fit, and its
// conversion fails with any flag but WC_ERR_INVALID_CHARS.
unsigned long ExactConversionFlags(unsigned codePage);

// The length in bytes (1 or 2) of the character that starts at `text`, or 0 when `text`
// starts with a lead byte that the byte after it (possibly the terminating zero) cannot follow.
typedef int (*CharacterLengthFunction)(const char *text);

// Makes the operations read characters as `characterLength` tells; nullptr, the start-up
// value, makes every byte a character.
void UseCharacterLengths(CharacterLengthFunction characterLength);

// The text after the last "." character; the whole name when it holds none. Points into `name`.
const char *GetFileExtension(const char *name);

// The text after the last backslash character; the whole path when it holds none. Points
// into `path`.
const char *GetBaseName(const char *path);

// False when the name holds one of the characters  / \ : * ? " < > |  ; the empty name is valid.
bool IsValidFileName(const char *name);

// True when the text holds a byte below 32 (CR, LF, tab...). Such a text must never be
// sent as a command argument: the FTP library sends arguments raw, so a CR LF inside a
// name would start a second command on the server. Byte-wise, whatever precedes the byte.
bool HasControlCharacter(const char *text);

// True when a listed name fills the find record's name field, its zero aside (259 bytes or
// more): the library cuts a longer name to that length, so such a text may be only the start
// of the name, even the whole name of another entry, and must never go to the server.
bool MayHaveBeenCut(const char *listedName);

// Copies the text into the buffer; the bytes after its zero are left as they were.
void CopyTextToBuffer(char *buffer, size_t size, const char *text);

// A copy with the bytes A-Z folded to a-z and every other byte unchanged. Byte-wise: a
// character's second byte may be folded too, so the copy is fit only for comparing with
// plain ASCII texts.
void ToLowerCase(char *buffer, size_t size, const char *text);

// The text without its leading and trailing spaces (code 32 only; never a character's
// second byte).
void TrimSpaces(char *buffer, size_t size, const char *text);

// The folder part of a local path: everything up to and including its last backslash;
// "" when the path holds none.
void GetFolderOfPath(char *buffer, size_t size, const char *path);

// A local file name to suggest for a remote name chosen by the server: only its last
// component (after any slash, backslash or drive colon character), with every byte below 32
// and every character that a local file name cannot hold replaced by "_", and "" for "."
// and "..". Never leads out of the folder the person is in.
void SafeLocalFileName(char *buffer, size_t size, const char *remoteName);

// Byte-for-byte equality; case matters.
bool TextEquals(const char *a, const char *b);

#endif
