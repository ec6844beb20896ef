// dialogs/dialogs.h - the modal windows that gather input: login, the one-line prompt and
// the platform's open and save choosers.
#ifndef RUVEX_DIALOGS_DIALOGS_H
#define RUVEX_DIALOGS_DIALOGS_H

#include <string>

// Shows the login dialog. Returns once a login has succeeded; closing the dialog ends the
// process with exit code 0xFFFFFFFF.
void ShowLoginDialog();

// Shows the prompt with this window title and question; returns the reply as typed, or ""
// when the prompt was closed by its close box (or ended by EndOpenPrompts).
std::string PromptForText(const std::string &title, const std::string &question);

// Ends every prompt that is open, as if closed by its close box. The prompt has no owner, so
// it would otherwise outlive the main window.
void EndOpenPrompts();

// The platform's open chooser, owned by the main window: the full path of an existing file,
// or "" when cancelled.
std::string ChooseFileToOpen();

// The platform's save chooser, owned by the main window, with `suggestedName` filled in:
// the full path chosen, or "" when cancelled. An existing file is taken without a question.
std::string ChooseFileToSave(const std::string &suggestedName);

#endif
