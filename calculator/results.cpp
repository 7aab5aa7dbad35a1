#include "calculator/results.h"

#include "calculator/vardelo2.h"
#include "stats/format.h"
#include "stats/probabilities.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <cstdint>

void AppendLine(const QString &S)
{
    QPlainTextEdit *memo = VardeloForm->Memo1;
    QString text = S;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    // Every line ends with a line break, also a last line that the user
    // typed without one.
    QTextCursor cursor(memo->document());
    cursor.movePosition(QTextCursor::End);
    if (!cursor.block().text().isEmpty())
        text.prepend(QLatin1Char('\n'));
    cursor.insertText(text + QLatin1Char('\n'));
    memo->setTextCursor(cursor);
    memo->ensureCursorVisible();
    memo->document()->setModified(true);
}

void AppendProbabilityLine(const QString &Label, double P)
{
    // A probability below 0 can only come from rounding (1 minus a sum
    // that exceeds 1 by 1e-10): it prints as 0, never with a minus sign.
    if (P <= 0)
        P = 0;
    AppendLine(QString::fromStdString(PadLeft("P = ", 15) + FormatNumber(6, 4, P) + "  ")
               + Label);
}

void AppendTailProbabilities(double P, const QString &ending)
{
    AppendProbabilityLine(QStringLiteral("(1-tailed)"), P);
    AppendProbabilityLine(QStringLiteral("(2-tailed)") + ending, 2 * P);
}

void AppendCountProbabilities(const QString &x, const CountProbabilities &P)
{
    const auto label = [&x](const char *relation) {
        return QStringLiteral("( %1 %2 )").arg(QLatin1String(relation), x);
    };
    AppendProbabilityLine(label("<="), P.atMost);
    AppendProbabilityLine(label(" ="), P.exactly);
    AppendProbabilityLine(label(">="), P.atLeast);
    AppendLine(QString());
}

QString IntervalLine(const QString &head, int Decimals, double Lower, double Upper)
{
    return QStringLiteral("\r\n") + head + TrimSpaces(FormatText(10, Decimals, Lower))
           + QStringLiteral("  To  ") + TrimSpaces(FormatText(10, Decimals, Upper))
           + QLatin1Char(']');
}

QString FormatText(int Width, int Decimals, double X)
{
    return QString::fromStdString(FormatNumber(Width, Decimals, X));
}

QString PadLeftText(const QString &S, int Width)
{
    return QString::fromStdString(PadLeft(S.toStdString(), static_cast<std::uint8_t>(Width)));
}

void TrimSpacesInPlace(QString &S)
{
    qsizetype first = 0, last = S.size();
    while (first < last && S[first] == QLatin1Char(' '))
        ++first;
    while (last > first && S[last - 1] == QLatin1Char(' '))
        --last;
    S = S.mid(first, last - first);
}

QString TrimSpaces(QString S)
{
    TrimSpacesInPlace(S);
    return S;
}
