#include "stats/format.h"

#include "stats/fperror.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string_view>

namespace {

DecimalSeparatorSource separatorSource = nullptr;

// A decimal magnitude: its significant digits, most significant first, and
// the number of those digits that stand before the decimal point.
struct Digits {
    std::string digits;
    int point = 0;
};

// A magnitude to 18 significant digits, or, for the fixed form, to 17
// decimals when it is below 10.  These are the digits both forms start
// from; they are rounded a second time, half away from zero, to the digits
// that are printed.
Digits StartingDigits(double magnitude, bool fixed)
{
    char buffer[64];
    Digits result;
    if (fixed && magnitude < 10) {
        const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                       std::chars_format::fixed, 17).ptr;
        const std::string_view text(buffer, end - buffer);
        const auto dot = text.find('.');
        result.digits.assign(text.substr(0, dot)).append(text.substr(dot + 1));
        result.point = static_cast<int>(dot);
        return result;
    }
    // d.ddddddddddddddddde+XX
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                   std::chars_format::scientific, 17).ptr;
    const std::string_view text(buffer, end - buffer);
    const auto e = text.find('e');
    result.digits.assign(1, text[0]).append(text.substr(2, e - 2));
    result.point = std::atoi(std::string(text.substr(e + 1)).c_str()) + 1;
    return result;
}

// Keeps the first `keep` (at least 1) digits, rounding half away from zero
// on the digit after them.  A carry out of the first digit adds a digit in
// front and moves the point.
void RoundDigits(Digits &d, std::size_t keep)
{
    if (keep >= d.digits.size()) {
        d.digits.append(keep - d.digits.size(), '0');
        return;
    }
    const bool up = d.digits[keep] >= '5';
    d.digits.resize(keep);
    if (!up)
        return;
    std::size_t i = keep;
    while (i > 0 && d.digits[i - 1] == '9')
        d.digits[--i] = '0';
    if (i > 0)
        ++d.digits[i - 1];
    else {
        d.digits.insert(d.digits.begin(), '1');
        ++d.point;
    }
}

std::string RightJustify(std::string s, int width)
{
    if (static_cast<int>(s.size()) < width)
        s.insert(0, width - s.size(), ' ');
    return s;
}

// Scientific form in a field: a '-' or a blank, the first digit, '.', the
// other digits (width - 8 significant digits, 2 to 18), 'E', the exponent's
// sign and four exponent digits.  Never cut to the field.
std::string ScientificForm(double x, int width)
{
    const int count = std::clamp(width - 8, 2, 18);
    Digits d = StartingDigits(std::fabs(x), false);
    RoundDigits(d, count);
    const int exponent = d.point - 1;

    std::string s(1, x < 0 ? '-' : ' ');
    s += d.digits[0];
    s += '.';
    s.append(d.digits, 1, count - 1);
    s += 'E';
    s += exponent < 0 ? '-' : '+';
    const int magnitude = std::abs(exponent);
    for (int unit = 1000; unit > 0; unit /= 10)
        s += static_cast<char>('0' + magnitude / unit % 10);
    return RightJustify(std::move(s), width);
}

// Fixed form in a field with `decimals` decimals: a '-' for a negative x
// (also when it rounds to zero), the integer digits, and '.' with the
// decimals when there are any.  A negative number of decimals, or a
// magnitude of 2^120 and more, gives the scientific form.  Never cut.
std::string FixedForm(double x, int width, int decimals)
{
    if (decimals < 0 || std::fabs(x) >= std::ldexp(1.0, 120))
        return ScientificForm(x, width);
    Digits d = StartingDigits(std::fabs(x), true);
    RoundDigits(d, d.point + decimals);

    std::string s = x < 0 ? "-" : "";
    s.append(d.digits, 0, d.point);
    if (decimals > 0) {
        s += '.';
        s.append(d.digits, d.point, decimals);
    }
    return RightJustify(std::move(s), width);
}

void UseSeparator(std::string &s, char separator)
{
    if (const auto dot = s.find('.'); dot != std::string::npos)
        s[dot] = separator;
}

// Shortens the exponent of a scientific text: the zeros after the
// exponent's sign go (E+0040 -> E+40), then a '+' sign (E+40 -> E40).  When
// the text is still wider than `field`, the mantissa is written again with
// as many decimals as the field leaves beside the exponent.
void CleanUpExponent(std::string &s, std::size_t e, int field, char separator)
{
    while (e + 2 < s.size() && s[e + 2] == '0')
        s.erase(e + 2, 1);
    if (e + 1 < s.size() && s[e + 1] == '+')
        s.erase(e + 1, 1);
    if (static_cast<int>(s.size()) <= field)
        return;

    std::string mantissa = s.substr(0, e);
    const std::string exponent = s.substr(e);
    mantissa.erase(0, mantissa.find_first_not_of(' '));
    if (const auto sep = mantissa.find(separator); sep != std::string::npos)
        mantissa[sep] = '.';
    double m = 0;
    std::from_chars(mantissa.data(), mantissa.data() + mantissa.size(), m);

    const int width = field - 1 - static_cast<int>(exponent.size());
    s = FixedForm(m, width, m >= 0 ? width - 1 : width - 2);
    UseSeparator(s, separator);
    s += exponent;
}

// Shortens a value above 1 in magnitude that is wider than `field`: first
// its last digits go, down to the integer part, then the scientific form
// with a shortened exponent and a cut (not re-rounded) mantissa.
void ShortenLargeValue(std::string &s, double x, int width, char separator)
{
    const auto field = static_cast<std::size_t>(width - 1);
    while (s.size() > field && s.find(separator) != std::string::npos) {
        const auto e = s.find('E');
        s.erase(e == std::string::npos ? s.size() - 1 : e - 1, 1);
        if (!s.empty() && s.back() == separator) {
            s.pop_back();
            s = RightJustify(std::move(s), width - 1);
        }
    }
    if (s.size() <= field)
        return;

    s = ScientificForm(x, width + 3);
    UseSeparator(s, separator);
    if (s[0] == ' ')
        s.erase(0, 1);
    for (int i = 0; i < 3; ++i) {
        const auto e = s.find('E');
        s.erase(s[e + 2] == '0' ? e + 2 : e - 1, 1);
    }
}

// One attempt with a given number of decimals; the caller checks whether
// the text fits.
std::string FormatAttempt(int width, int decimals, double x, char separator)
{
    std::string s;
    if (DoubleNotEqual(x, MissingValue)) {
        s = FixedForm(x, width - 1, decimals);
        UseSeparator(s, separator);
        if (const auto e = s.find('E'); e != std::string::npos)
            CleanUpExponent(s, e, width - 1, separator);
        if (std::fabs(x) > 1 && static_cast<int>(s.size()) > width - 1)
            ShortenLargeValue(s, x, width, separator);
        if (DropLeadingZero && std::fabs(x) < 1) {
            if (const auto zero = s.find(std::string{'0', separator}); zero != std::string::npos)
                s.erase(zero, 1);
        }
    }
    if (!s.empty() && s.back() == separator)
        s.pop_back();
    return RightJustify(std::move(s), width);
}

}  // namespace

bool DoubleNotEqual(double a, double b)
{
    return a != b;
}

std::string FormatNumber(int width, int decimals, double x)
{
    if (!std::isfinite(x))
        throw InvalidOperationError();
    if (width < 1)
        return {};
    const char separator = CurrentDecimalSeparator();
    // One decimal fewer after each attempt that fills the field.  Below zero
    // decimals the text no longer depends on their number: if that fails,
    // the value fits in no form.
    for (int d = std::min(decimals, width - 2);; --d) {
        std::string s = FormatAttempt(width, d, x, separator);
        if (s[0] == ' ' && static_cast<int>(s.size()) == width)
            return s;
        if (d < 0)
            return ' ' + std::string(width - 1, '*');
    }
}

std::string PadLeft(std::string_view s, std::uint8_t width)
{
    std::string result(s);
    if (result.size() < width)
        result.insert(0, width - result.size(), ' ');
    result.resize(width);
    return result;
}

void SetDecimalSeparatorSource(DecimalSeparatorSource source)
{
    separatorSource = source;
}

char CurrentDecimalSeparator()
{
    return separatorSource ? separatorSource() : '.';
}
