// The extended type of qrn4's arithmetic.
//
// Formulas are evaluated in long double, the x87 80-bit format on x86-64,
// and rounded to double where a value is stored: an element, a running
// sum, a value written to a file.  Every such rounding is an explicit
// static_cast<double>, so that the store points stay visible.
#pragma once

using extended = long double;
