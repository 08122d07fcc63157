#pragma once

#include "app/CommandLine.h"

class QTextStream;

// Runs `huesplinter --pick`: the screen picker alone, without the main window. Prints the picked
// colour in the asked formats on `out` (and copies that text when asked) and answers kExitOk;
// kExitCancelled after Esc with nothing printed; kExitTrouble with the reason on `err` when the
// screen cannot be read. The picker's size and lines are kept as a pick from the window keeps them.
int RunPickCommand(const TPickRequest& request, QTextStream& out, QTextStream& err);
