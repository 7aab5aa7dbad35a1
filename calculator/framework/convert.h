// Conversions between numbers and the texts of the calculator's fields.
//
// Real numbers are written and read with the decimal separator of the
// user's locale, read at every call; the conversions themselves do not
// depend on the C library's locale.  A text that does not convert raises
// EConvertError, whose message the default exception handler shows.
#pragma once

#include <QChar>
#include <QString>

#include <stdexcept>

// A text that is not a number of the expected kind.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The decimal separator of the current locale (QLocale's default).  A
// locale whose separator is not one ASCII character gets '.'.
QChar DecimalSeparator();

// Makes the number formatting of the statistical routines follow
// DecimalSeparator().  Part of the program start.
void InstallDecimalSeparator();

// A decimal number: blanks, an optional sign, digits with at most one
// decimal separator (at least one digit), an optional exponent (E or e, an
// optional sign, digits), blanks.  Anything else, "inf", "nan" and
// hexadecimal included, raises EConvertError with the message
// "'<text>' is not a valid floating point value".  A value too large for a
// double raises OverflowError; one too small to represent gives 0.
double StrToFloat(const QString &text);

// The general format with up to 15 significant digits and no trailing
// zeros: fixed notation (1, -1, 99.999, 0.00001) unless the value has more
// than 15 integer digits or is below 0.00001 in magnitude, then scientific
// notation without a '+' or leading exponent zeros (1E15, 1.5E-6).
QString FloatToStr(double value);

// A 32-bit integer: blanks, an optional sign and decimal digits.  Anything
// else, or a value outside the 32-bit range, raises EConvertError with the
// message "'<text>' is not a valid integer value".
int StrToInt(const QString &text);

QString IntToStr(long long value);
