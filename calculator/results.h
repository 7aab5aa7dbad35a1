// The result lines of the dialogs: how they reach the results document,
// and the texts of the numbers in them.
//
// The results document is the main window's Memo1; these routines are
// the only way the dialogs write to it.
#pragma once

#include <QString>

struct CountProbabilities;

// Adds S at the end of the results document; every CR LF in S starts a
// further line, so S = "TITLE\r\n" adds the title and an empty line, and an
// empty S adds an empty line.  Sets the document's modified flag.
void AppendLine(const QString &S);

// Adds "P = " right-justified in 15 characters, P formatted in 6 characters
// with 4 decimals, two blanks and Label; sets the modified flag.  A P
// below 0 (rounding) is written as 0.
void AppendProbabilityLine(const QString &Label, double P);

// The one- and two-tailed probability lines of a test whose one-tailed
// probability is P: AppendProbabilityLine with "(1-tailed)" and P, then
// with "(2-tailed)" and `ending` and 2 P ("\r\n" adds an empty line).
void AppendTailProbabilities(double P, const QString &ending = QString());

// The probability lines of a count x, at most, exactly and at least x
// ("( <= 2 )", "(  = 2 )", "( >= 2 )"), then an empty line.
void AppendCountProbabilities(const QString &x, const CountProbabilities &P);

// The line of a confidence interval, after an empty line: `head`, then the
// two bounds with `Decimals` decimals and no blanks around them, "  To  "
// between them and "]" after them.
QString IntervalLine(const QString &head, int Decimals, double Lower, double Upper);

// FormatNumber and PadLeft (stats/format.h) on the texts of the dialogs.
QString FormatText(int Width, int Decimals, double X);
QString PadLeftText(const QString &S, int Width);

// S without its leading and trailing blanks (code 32 only).
QString TrimSpaces(QString S);
void TrimSpacesInPlace(QString &S);
