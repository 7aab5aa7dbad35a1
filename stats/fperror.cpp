#include "stats/fperror.h"

#include <cmath>

DivisionByZeroError::DivisionByZeroError()
    : FloatingPointError("Floating point division by zero") {}

InvalidOperationError::InvalidOperationError()
    : FloatingPointError("Invalid floating point operation") {}

OverflowError::OverflowError() : FloatingPointError("Floating point overflow") {}

long double Checked(long double x)
{
    if (std::isnan(x))
        throw InvalidOperationError();
    if (std::isinf(x))
        throw OverflowError();
    return x;
}

double Stored(long double x)
{
    const double d = static_cast<double>(Checked(x));
    if (std::isinf(d))
        throw OverflowError();
    return d;
}

long double Divide(long double a, long double b)
{
    if (std::isnan(a) || std::isnan(b))
        throw InvalidOperationError();
    if (b == 0) {
        if (a == 0)
            throw InvalidOperationError();
        throw DivisionByZeroError();
    }
    return Checked(a / b);
}

long double Ln(long double x)
{
    if (std::isnan(x) || x < 0)
        throw InvalidOperationError();
    if (x == 0)
        throw DivisionByZeroError();
    return Checked(std::log(x));
}

long double Exp(long double x)
{
    if (std::isnan(x))
        throw InvalidOperationError();
    return Checked(std::exp(x));
}

long double Sqrt(long double x)
{
    if (std::isnan(x) || x < 0)
        throw InvalidOperationError();
    return Checked(std::sqrt(x));
}
