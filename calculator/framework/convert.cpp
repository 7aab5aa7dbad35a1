#include "calculator/framework/convert.h"

#include "stats/fperror.h"
#include "stats/format.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace {

[[noreturn]] void NotA(const char *kind, const QString &text)
{
    throw EConvertError(
        QStringLiteral("'%1' is not a valid %2").arg(text, QLatin1String(kind)).toStdString());
}

bool IsDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

qsizetype SkipBlanks(const QString &text, qsizetype i)
{
    while (i < text.size() && text[i] == QLatin1Char(' '))
        ++i;
    return i;
}

qsizetype ReadSign(const QString &text, qsizetype i, bool &negative)
{
    negative = i < text.size() && text[i] == QLatin1Char('-');
    if (i < text.size() && (negative || text[i] == QLatin1Char('+')))
        ++i;
    return i;
}

qsizetype ReadDigits(const QString &text, qsizetype i, std::string &digits)
{
    for (; i < text.size() && IsDigit(text[i]); ++i)
        digits += static_cast<char>(text[i].unicode());
    return i;
}

char SeparatorForFormatting()
{
    return static_cast<char>(DecimalSeparator().unicode());
}

}  // namespace

QChar DecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    if (point.size() == 1 && point[0].unicode() < 128)
        return point[0];
    return QLatin1Char('.');
}

void InstallDecimalSeparator()
{
    SetDecimalSeparatorSource(&SeparatorForFormatting);
}

double StrToFloat(const QString &text)
{
    bool negative = false, negativeExponent = false;
    std::string integer, fraction, exponent;
    qsizetype i = ReadSign(text, SkipBlanks(text, 0), negative);
    i = ReadDigits(text, i, integer);
    if (i < text.size() && text[i] == DecimalSeparator())
        i = ReadDigits(text, i + 1, fraction);
    if (integer.empty() && fraction.empty())
        NotA("floating point value", text);
    if (i < text.size() && (text[i] == QLatin1Char('E') || text[i] == QLatin1Char('e'))) {
        i = ReadDigits(text, ReadSign(text, i + 1, negativeExponent), exponent);
        if (exponent.empty())
            NotA("floating point value", text);
    }
    if (SkipBlanks(text, i) != text.size())
        NotA("floating point value", text);

    const std::string plain = (negative ? "-" : "") + (integer.empty() ? "0" : integer) + "."
                              + fraction + (negativeExponent ? "e-" : "e")
                              + (exponent.empty() ? "0" : exponent);
    double value = 0;
    if (std::from_chars(plain.data(), plain.data() + plain.size(), value).ec == std::errc())
        return value;

    // Far above or far below the range of a double: the place of the first
    // significant digit decides (a zero is never out of range).
    const std::string digits = integer + fraction;
    const long long order = static_cast<long long>(integer.size())
                            - static_cast<long long>(digits.find_first_not_of('0'));
    exponent.erase(0, exponent.find_first_not_of('0'));
    long long power = exponent.size() > 9 ? 1000000000LL : std::atoll(exponent.c_str());
    if (negativeExponent)
        power = -power;
    if (order + power > 0)
        throw OverflowError();
    return negative ? -0.0 : 0.0;
}

QString FloatToStr(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
    if (value == 0)
        return QStringLiteral("0");

    // 15 significant digits: d.dddddddddddddde+XX
    char buffer[64];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14).ptr;
    const std::string text(buffer, end);
    const auto e = text.find('e');
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    const int exponent = std::atoi(text.c_str() + e + 1);
    digits.erase(digits.find_last_not_of('0') + 1);

    std::string out = value < 0 ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        out += digits[0];
        if (digits.size() > 1)
            out.append(".").append(digits, 1);
        out += 'E' + std::to_string(exponent);
    } else if (exponent < 0) {
        out.append("0.").append(-exponent - 1, '0').append(digits);
    } else {
        if (digits.size() <= static_cast<std::size_t>(exponent))
            digits.append(exponent + 1 - digits.size(), '0');
        out.append(digits, 0, exponent + 1);
        if (digits.size() > static_cast<std::size_t>(exponent) + 1)
            out.append(".").append(digits, exponent + 1);
    }
    QString result = QString::fromLatin1(out);
    result.replace(QLatin1Char('.'), DecimalSeparator());
    return result;
}

int StrToInt(const QString &text)
{
    bool negative = false;
    std::string digits;
    const qsizetype end = ReadDigits(text, ReadSign(text, SkipBlanks(text, 0), negative), digits);
    if (negative)
        digits.insert(0, 1, '-');
    int value = 0;
    const auto last = digits.data() + digits.size();
    const auto result = std::from_chars(digits.data(), last, value);
    if (end != text.size() || result.ec != std::errc() || result.ptr != last)
        NotA("integer value", text);
    return value;
}

QString IntToStr(long long value)
{
    return QString::number(value);
}
