#pragma once

#include "colour/ColorTemplateList.h"

#include <QString>
#include <QtGlobal>

// The template list files: one template per line, its fields separated by TAB and the line
// ended by a TAB and CR LF:
//
//     text TAB name TAB hex (1 or 0) TAB hueMax TAB satMax TAB lumMax TAB
//
// Reading takes CR LF, LF or CR line ends and any encoding of the text-file rule; lines of two
// characters or fewer are skipped; a NUL ends its line; an empty field keeps the default; the
// hex flag is on for a leading "1" only (and for an empty field). A maximum above 999 is written
// as 0.

// Files above this size are refused.
inline constexpr qint64 kTemplateFileCap = 4 * 1024 * 1024;

// "MruList.txt" for the RGB list, "HslMruList.txt" for the HSL list, in the data folder.
QString TemplateFileName(TTemplateKind kind);

// What the error box about a template file shows: its caption, and its text around the
// system's (or the reader's) own message.
QString TemplateErrorCaption();
QString TemplateErrorText(const QString& systemText);

struct TTemplateParse {
    TColorTemplateList list;
    // Empty when every line was read; otherwise the message about the first bad maximum. The
    // list still holds every line, the bad one with the fields before the bad maximum.
    QString error;
};
TTemplateParse ParseTemplateText(const QString& text);
// The whole file's text, every field stripped of the separators.
QString TemplateListText(const TColorTemplateList& list);

struct TTemplateFileRead {
    // False when the file could not be read at all (list empty, error says why).
    bool readOk = false;
    TColorTemplateList list;
    QString error;
};
TTemplateFileRead ReadTemplateFile(const QString& path);
// Empty on success, else why the file could not be written (the old one stays as it was).
QString WriteTemplateFile(const QString& path, const TColorTemplateList& list);

// Start-up: the kind's file in the data folder is read into the list when it exists; otherwise
// the list gets the built-in templates and the file is written from them. Returns the failure's
// text for the error box, empty when there was none.
QString LoadTemplatesOrBuiltIns(TTemplateKind kind, const QString& dataFolder,
                                TColorTemplateList& list);
