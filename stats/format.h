// Fixed-width number formatting for the result lines of the calculator.
//
// Every number a dialog writes is laid out by FormatNumber in a field of a
// given width that always begins with a blank, so that numbers written side
// by side never touch; a number that does not fit is shortened (fewer
// decimals, a shorter exponent, scientific form) instead of widening the
// field.  Labels are right-justified with PadLeft.
//
// The decimal separator is the caller's: this library knows nothing of Qt,
// so the calculator installs a source that reads the user's locale, and the
// formatting asks it at every call.  Without a source the separator is '.'.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Marks a value that cannot be computed; FormatNumber prints it as blanks.
inline constexpr double MissingValue = -1.66e308;

// Values below 1 in magnitude are written without the "0" in front of the
// decimal separator (.0500 rather than 0.0500).
inline constexpr bool DropLeadingZero = true;

// Exact comparison: true when a and b differ.
bool DoubleNotEqual(double a, double b);

// x right-justified in exactly `width` characters with a blank first and at
// most `decimals` decimals, using the current decimal separator.
// MissingValue gives `width` blanks.  Widths of 8 or more hold every finite
// value; narrower fields hold only values of limited magnitude, and a value
// that fits in no form gives the overflow field: a blank followed by
// width - 1 asterisks ("_*****" for width 6).  A width below 1 gives the
// empty text.  A non-finite x raises InvalidOperationError.
std::string FormatNumber(int width, int decimals, double x);

// s preceded by blanks up to `width` characters, then cut to its first
// `width` characters.
std::string PadLeft(std::string_view s, std::uint8_t width);

// The decimal separator used by FormatNumber, read at every call.
using DecimalSeparatorSource = char (*)();
void SetDecimalSeparatorSource(DecimalSeparatorSource source);  // nullptr: '.'
char CurrentDecimalSeparator();
