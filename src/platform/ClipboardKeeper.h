#pragma once

#include <QString>

// On X11 the clipboard's text lives in the program that put it there: once that program ends,
// the text is gone unless a clipboard manager took a copy. A run that copies and then quits (a
// pick from the command line) hands its text to a small copy of itself, which keeps offering it
// without a window until another program puts something on the clipboard.
namespace ClipboardKeeper {

// Call after putting `text` on the clipboard, before quitting. Where the window system keeps the
// clipboard itself, returns at once; on X11 starts the keeper (its output goes nowhere, so a
// script reading ours is not held up) and waits until the keeper owns the clipboard.
void handOver(const QString& text);

// The keeper's run: puts `text` on the clipboard and answers 0 once another program replaced it.
int keep(const QString& text);

} // namespace ClipboardKeeper
