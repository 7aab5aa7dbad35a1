// Floating-point errors of the statistical routines.
//
// The routines compute in extended precision and report the three errors
// that the calculator shows to its user (division by zero, invalid
// operation, overflow) as exceptions.  Underflow is no error: a result too
// small to represent is simply 0.  The checked helpers below are the only
// places that raise them; callers use them wherever a step may fail.
#pragma once

#include <stdexcept>

class FloatingPointError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class DivisionByZeroError : public FloatingPointError {
public:
    DivisionByZeroError();
};

class InvalidOperationError : public FloatingPointError {
public:
    InvalidOperationError();
};

class OverflowError : public FloatingPointError {
public:
    OverflowError();
};

// a / b: division by zero for b == 0 and a != 0, invalid operation for 0/0
// or when an operand is not a number, overflow for an infinite quotient.
long double Divide(long double a, long double b);

// Natural logarithm: division by zero for 0, invalid operation below 0 or
// for a NaN.
long double Ln(long double x);

// Exponential: overflow when the result is infinite; underflow gives 0.
long double Exp(long double x);

// Square root: invalid operation below 0 (and for a NaN).
long double Sqrt(long double x);

// Checks a computed value: invalid operation for a NaN, overflow for an
// infinity; returns the value otherwise.
long double Checked(long double x);

// Stores an extended value as a double: invalid operation for a NaN,
// overflow when the value lies beyond the range of a double; a value too
// small for a double becomes 0 (or a denormal) without error.
double Stored(long double x);
