// dialogs/dialogs.h - the modal windows that gather input: login, the one-line prompt and
// the platform's open and save choosers.
#ifndef RUVEX_DIALOGS_DIALOGS_H
#define RUVEX_DIALOGS_DIALOGS_H

#include <windows.h>

#include <cstddef>

// Shows the login dialog. Returns once a login has succeeded; closing the dialog ends the
// process with exit code 0xFFFFFFFF.
void ShowLoginDialog();

// Bytes of a prompt's reply. The edit field is asked for 1024 bytes, its zero included, so a
// reply holds at most 1023 characters, with one byte to spare.
constexpr size_t kPromptReplySize = 1025;

// Shows the prompt with this window title and question; fills `reply` with the reply as
// typed, or "" when the prompt was closed by its close box (or ended by EndOpenPrompts).
void PromptForText(char *reply, size_t size, const char *title, const char *question);

// Ends every prompt that is open, as if closed by its close box. The prompt has no owner, so
// it would otherwise outlive the main window.
void EndOpenPrompts();

// The platform's open chooser, owned by `owner`: fills `path` (kLocalPathSize bytes hold any)
// with the full path of an existing file, or "" when cancelled. A chooser that fails, or a path
// that the system's code page cannot hold exactly, is said in a message, and gives "" too.
void ChooseFileToOpen(HWND owner, char *path, size_t size);

// The platform's save chooser, owned by `owner`, with `suggestedName` filled in: fills `path`
// as above with the full path chosen. An existing file is taken without a question.
void ChooseFileToSave(HWND owner, char *path, size_t size, const char *suggestedName);

#endif
