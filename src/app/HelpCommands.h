#pragma once

#include "dialogs/AboutBox.h"

class QWidget;

// The help page (F1 and the help button) and the about window (F3 and the info button).

// What the about window shows for this program.
TAboutInfo ProgramAboutInfo();
// Opens the help page shipped with the program in the user's browser.
void HelpCommand(QWidget* window);
// Shows the about window modally over the window.
void AboutCommand(QWidget* window);
