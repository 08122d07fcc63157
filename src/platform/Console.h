#pragma once

// The text console the program answers command-line options on.
namespace Console {

// A Windows program built for the desktop starts without a console, so what
// --version and --help print would vanish; this sends standard output and
// error to the console of the command prompt that started the program. Output
// already going somewhere (a pipe, a file, a console) is left alone, and so is
// every other system, where a program always has its terminal.
void attachToParent();

} // namespace Console
