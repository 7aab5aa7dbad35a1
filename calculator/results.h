// The result lines of the dialogs: how they reach the results document,
// and the texts of the numbers in them.
//
// The results document is the main window's Memo1; these routines are
// the only way the dialogs write to it.
#pragma once

#include <QString>

// Adds S at the end of the results document; every CR LF in S starts a
// further line, so S = "TITLE\r\n" adds the title and an empty line, and an
// empty S adds an empty line.  Sets the document's modified flag.
void AppendLine(const QString &S);

// Adds "P = " right-justified in 15 characters, P formatted in 6 characters
// with 4 decimals, two blanks and Label; sets the modified flag.  A P
// below 0 (rounding) is written as 0.
void AppendProbabilityLine(const QString &Label, double P);

// FormatNumber and PadLeft (stats/format.h) on the texts of the dialogs.
QString FormatText(int Width, int Decimals, double X);
QString PadLeftText(const QString &S, int Width);

// S without its leading and trailing blanks (code 32 only).
QString TrimSpaces(QString S);
void TrimSpacesInPlace(QString &S);
