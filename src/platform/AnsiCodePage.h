#pragma once

#include <QByteArray>
#include <QString>

// Text in the legacy ("ANSI") code page that Windows programs wrote before Unicode.
namespace AnsiCodePage {

// On Windows through the code page the system is set to; elsewhere as windows-1252, the page
// most such files were written in. Every byte becomes a character: none is lost.
QString decode(const QByteArray& bytes);

} // namespace AnsiCodePage
